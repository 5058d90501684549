// Build step: turns the committed pictures into the pixels the window system draws from, so
// that the program neither loads an image plugin nor decodes anything when it starts.
//
//   pack-pictures OUTPUT_DIR PICTURE...
//
// Writes OUTPUT_DIR/<n>.raw, each picture's rows of 32-bit pixels in the format Qt's raster
// pixmaps keep (opaque RGB32, or premultiplied ARGB32 when a pixel is see-through), and
// OUTPUT_DIR/pictures.cpp, which assembles the raw files into the program and lists them.

#include "resources/PackedPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pack-pictures OUTPUT_DIR PICTURE...\n");
        return 2;
    }
    const QDir output(QFile::decodeName(argv[1]));
    QByteArray assembly;
    QByteArray table;
    for (int i = 2; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        const QImage image = drawable(QImage(path));
        if (image.isNull() || image.bytesPerLine() != image.width() * 4) {
            std::fprintf(stderr, "pack-pictures: cannot read %s\n", argv[i]);
            return 1;
        }
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                image.sizeInBytes());
        const QString raw = output.filePath(QStringLiteral("%1.raw").arg(i - 2));
        if (!writeFile(raw, pixels)) {
            std::fprintf(stderr, "pack-pictures: cannot write %s\n", qPrintable(raw));
            return 1;
        }
        const QByteArray symbol = "calc_picture_" + QByteArray::number(i - 2);
        assembly += ".globl " + symbol + "\n.hidden " + symbol + "\n.balign 16\n" + symbol +
                    ":\n.incbin \"" + QFile::encodeName(raw) + "\"\n";
        table += "    {\"" + QFileInfo(path).fileName().toUtf8() + "\", " + symbol + ", " +
                 QByteArray::number(image.width()) + ", " + QByteArray::number(image.height()) +
                 ", " + (image.hasAlphaChannel() ? "true" : "false") + ", 0x" +
                 QByteArray::number(checksum(pixels), 16) + "},\n";
    }
    QByteArray declarations;
    for (int i = 2; i < argc; ++i) {
        declarations += "extern unsigned char calc_picture_" + QByteArray::number(i - 2) + "[];\n";
    }
    // Writable data, not read-only: Qt's pixmaps keep their pixels in place only in a buffer
    // they may write to. The pages are the program file's until something writes to them.
    const QByteArray source = "// Made by pack-pictures; do not edit.\n"
                              "#include \"resources/PackedPicture.h\"\n\n"
                              "asm(\".pushsection .data\\n\"\n\"" +
                              assembly.replace("\"", "\\\"").replace("\n", "\\n\"\n\"") +
                              ".popsection\\n\");\n\n"
                              "extern \"C\" {\n" +
                              declarations +
                              "}\n\n"
                              "namespace resources {\n\n"
                              "const PackedPicture kPackedPictures[] = {\n" +
                              table +
                              "};\n"
                              "const int kPackedPictureCount = " +
                              QByteArray::number(argc - 2) + ";\n\n} // namespace resources\n";
    if (!writeFile(output.filePath(QStringLiteral("pictures.cpp")), source)) {
        std::fprintf(stderr, "pack-pictures: cannot write pictures.cpp\n");
        return 1;
    }
    return 0;
}
