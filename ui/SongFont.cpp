// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SongFont.h"

#include "platform/ResidentPages.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QResource>
#include <QStringList>

namespace ui {

namespace {

const QString kEmbeddedFile = QStringLiteral(":/fonts/song-subset.ttf");

// Registered once, on first use: the face is read in place from the program's resources.
bool registerEmbeddedFace() {
    const QResource resource(kEmbeddedFile);
    return QFontDatabase::addApplicationFontFromData(resource.uncompressedData()) >= 0;
}

} // namespace

const QString SongFont::kEmbeddedFamily = QStringLiteral("AR PL UMing CN Subset");

QFont SongFont::pixelFont(int pixels, bool bold, bool italic) {
    static const bool registered = registerEmbeddedFace();
    Q_UNUSED(registered);
    // The program's own cut of the face first. A character it lacks (a folder's name in a
    // message) comes from the next family a machine has: the whole face, or another Song face.
    QFont font(QStringList{kEmbeddedFamily, QStringLiteral("SimSun"), QStringLiteral("宋体"),
                           QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleHint(QFont::Serif);
    return font;
}

void SongFont::prepare() {
    QFontMetricsF(pixelFont(k12pt)).ascent();
}

void SongFont::releaseFace() {
    const QResource resource(kEmbeddedFile);
    if (resource.compressionAlgorithm() == QResource::NoCompression) {
        platform::ResidentPages::release(resource.data(),
                                         static_cast<std::size_t>(resource.size()));
    }
}

QFont SongFont::caption(engine::CaptionFont kind) {
    switch (kind) {
    case engine::CaptionFont::DigitFont:
        return pixelFont(k12pt);
    case engine::CaptionFont::PointFont:
        return pixelFont(k15pt, true);
    case engine::CaptionFont::OperatorFont:
        return pixelFont(k10_5pt);
    case engine::CaptionFont::SmallFont:
        return pixelFont(k9pt);
    }
    return pixelFont(k12pt);
}

} // namespace ui
