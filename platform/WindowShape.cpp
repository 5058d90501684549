// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowShape.h"

#include <QWidget>
#include <algorithm>

namespace platform {

QRegion WindowShape::roundedRect(int w, int h, int cornerW, int cornerH) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    // A corner ellipse can never be larger than the window it rounds.
    const int cw = std::clamp(cornerW, 0, w);
    const int ch = std::clamp(cornerH, 0, h);
    const int rx = cw / 2;
    const int ry = ch / 2;
    QRegion region(0, ry, w, h - 2 * ry);
    region += QRegion(rx, 0, w - 2 * rx, h);
    if (cw > 0 && ch > 0) {
        region += QRegion(0, 0, cw, ch, QRegion::Ellipse);
        region += QRegion(w - cw, 0, cw, ch, QRegion::Ellipse);
        region += QRegion(0, h - ch, cw, ch, QRegion::Ellipse);
        region += QRegion(w - cw, h - ch, cw, ch, QRegion::Ellipse);
    }
    return region;
}

QRegion WindowShape::outline(const QWidget& window, int cornerW, int cornerH) {
    return roundedRect(window.width(), window.height(), cornerW, cornerH);
}

void WindowShape::apply(QWidget& window, int cornerW, int cornerH) {
    window.setMask(outline(window, cornerW, cornerH));
}

} // namespace platform
