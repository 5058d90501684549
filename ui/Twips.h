// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <cmath>

// Places and sizes of both windows are laid out in twips, made for 15 twips to a pixel;
// Qt's logical pixels stand for those pixels whatever the screen's density.
namespace ui {

inline constexpr int kTwipsPerPixel = 15;

// Nearest pixel, ties to even.
inline int toPixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

// Drawing positions keep their fraction: text may start between two pixels.
constexpr double toPixelsF(double twips) {
    return twips / kTwipsPerPixel;
}

constexpr double toTwips(int pixels) {
    return static_cast<double>(pixels) * kTwipsPerPixel;
}

struct TwipsRect {
    int left, top, width, height;
};

inline QRect toPixels(const TwipsRect& r) {
    return {toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height)};
}

} // namespace ui
