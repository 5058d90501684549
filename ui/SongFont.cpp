#include "ui/SongFont.h"

#include <QStringList>

namespace ui {

QFont SongFont::pixelFont(int pixels, bool bold, bool italic) {
    // The first family a machine has wins; the free Song faces stand in on Linux desktops.
    QFont font(QStringList{QStringLiteral("SimSun"), QStringLiteral("宋体"),
                           QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleHint(QFont::Serif);
    return font;
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
