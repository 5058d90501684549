// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace uitest {

// A widget as it is on screen, one image pixel to a logical pixel.
inline QImage grabImage(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bare picture framed as a key or drawn as a box shows it: at (offset, offset).
inline QImage framed(const QPixmap& face, QSize size, int offset) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QImage picture = face.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height() && y + offset < size.height(); ++y) {
        for (int x = 0; x < picture.width() && x + offset < size.width(); ++x) {
            image.setPixel(x + offset, y + offset, picture.pixel(x, y));
        }
    }
    return image;
}

// The smallest rectangle holding every pixel of the area in which two images of one size
// differ: where something was drawn over a bare picture.
inline QRect differenceBounds(const QImage& a, const QImage& b, QRect area = {}) {
    area = area.isNull() ? a.rect() : area.intersected(a.rect());
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// Relative luminance of a colour as used for text contrast on screens.
inline double luminance(QRgb rgb) {
    const auto linear = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

inline double contrastRatio(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace uitest
