// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: turns the committed pictures into the pixels the window system draws from, so
// that the program neither loads an image plugin nor decodes anything when it starts.
//
//   pack-pictures OUTPUT_DIR [--gap] PICTURE[:X]...
//
// Writes OUTPUT_DIR/<n>.raw, each picture's rows of 32-bit pixels in the format Qt's raster
// pixmaps keep (opaque RGB32, or premultiplied ARGB32 when a pixel is see-through), and
// OUTPUT_DIR/pictures.cpp, which assembles the raw files into the program and lists them.

#include "resources/PackedPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <cstdio>

namespace {

// As Qt's raster pixmap chooses: an image whose every pixel is opaque is kept without alpha.
QImage drawable(const QImage& source) {
    if (source.hasAlphaChannel()) {
        const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                if (qAlpha(row[x]) != 255) {
                    return source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
                }
            }
        }
    }
    return source.convertToFormat(QImage::Format_RGB32);
}

// Tells the compiler cache that a picture changed: it cannot see into an included binary file.
quint32 checksum(const QByteArray& bytes) {
    quint32 hash = 2166136261U;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<quint8>(byte)) * 16777619U;
    }
    return hash;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

// The generated source: the raw files assembled into the program, and the table of them.
class Output {
  public:
    explicit Output(const QString& folder) : folder_(folder) {}

    // Pictures read at different times are kept a fault-around window apart (the kernel maps
    // up to 64 kB of a file around each page read), so that reading one maps no other.
    void gap() { assembly_ += ".balign 65536\n"; }

    bool add(const QString& name, const QImage& image) {
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                image.sizeInBytes());
        const QString raw = folder_.filePath(QStringLiteral("%1.raw").arg(count_));
        if (!writeFile(raw, pixels)) {
            std::fprintf(stderr, "pack-pictures: cannot write %s\n", qPrintable(raw));
            return false;
        }
        const QByteArray symbol = "calc_picture_" + QByteArray::number(count_++);
        assembly_ += ".globl " + symbol + "\n.hidden " + symbol + "\n.balign 16\n" + symbol +
                     ":\n.incbin \"" + QFile::encodeName(raw) + "\"\n";
        declarations_ += "extern unsigned char " + symbol + "[];\n";
        table_ += "    {\"" + name.toUtf8() + "\", " + symbol + ", " +
                  QByteArray::number(image.width()) + ", " + QByteArray::number(image.height()) +
                  ", " + (image.hasAlphaChannel() ? "true" : "false") + ", 0x" +
                  QByteArray::number(checksum(pixels), 16) + "},\n";
        return true;
    }

    // Writable data, not read-only: Qt's pixmaps keep their pixels in place only in a buffer
    // they may write to. The pages are the program file's until something writes to them.
    bool write() {
        const QByteArray source = "// Made by pack-pictures; do not edit.\n"
                                  "#include \"resources/PackedPicture.h\"\n\n"
                                  "asm(\".pushsection .data\\n\"\n\"" +
                                  assembly_.replace("\"", "\\\"").replace("\n", "\\n\"\n\"") +
                                  ".popsection\\n\");\n\n"
                                  "extern \"C\" {\n" +
                                  declarations_ +
                                  "}\n\n"
                                  "namespace resources {\n\n"
                                  "const PackedPicture kPackedPictures[] = {\n" +
                                  table_ +
                                  "};\n"
                                  "const int kPackedPictureCount = " +
                                  QByteArray::number(count_) + ";\n\n} // namespace resources\n";
        return writeFile(folder_.filePath(QStringLiteral("pictures.cpp")), source);
    }

  private:
    QDir folder_;
    int count_ = 0;
    QByteArray assembly_;
    QByteArray declarations_;
    QByteArray table_;
};

} // namespace

// PICTURE:X packs a picture as two, NAME#0 left of column X and NAME#1 from it on: a
// window that shows only the left part then never reads the right.
int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pack-pictures OUTPUT_DIR [--gap] PICTURE[:X]...\n");
        return 2;
    }
    Output output(QFile::decodeName(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        if (argument == QLatin1String("--gap")) {
            output.gap();
            continue;
        }
        const QStringList parts = argument.split(QLatin1Char(':'));
        const QImage image = drawable(QImage(parts.first()));
        if (image.isNull() || image.bytesPerLine() != image.width() * 4) {
            std::fprintf(stderr, "pack-pictures: cannot read %s\n", argv[i]);
            return 1;
        }
        const QString name = QFileInfo(parts.first()).fileName();
        const int split = parts.size() > 1 ? parts.at(1).toInt() : 0;
        bool packed = false;
        if (split > 0 && split < image.width()) {
            packed =
                output.add(name + QStringLiteral("#0"), image.copy(0, 0, split, image.height()));
            output.gap();
            packed =
                packed && output.add(name + QStringLiteral("#1"),
                                     image.copy(split, 0, image.width() - split, image.height()));
        } else {
            packed = output.add(name, image);
        }
        if (!packed) {
            return 1;
        }
    }
    if (!output.write()) {
        std::fprintf(stderr, "pack-pictures: cannot write pictures.cpp\n");
        return 1;
    }
    return 0;
}
