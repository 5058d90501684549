// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextFit.h"

#include <QFontMetricsF>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ui {

qreal TextFit::baseline(const QFont& font, const QString& text, qreal boxHeight) {
    const QFontMetricsF metrics(font);
    // Measured over every face the text uses, not only the first.
    const QRectF ink = metrics.tightBoundingRect(text);
    const qreal laidOut = metrics.ascent();
    if (ink.height() > boxHeight) {
        // Nothing places it whole; it stays where it was laid out.
        return laidOut;
    }
    return std::clamp(laidOut, -ink.top(), boxHeight - ink.bottom());
}

namespace {

// An even number of rows, half above and half below: the centre line does not move.
QRect grownTo(const QRect& place, QSize needed) {
    QRect rect = place;
    rect.setWidth(std::max(place.width(), needed.width()));
    const int half = (std::max(0, needed.height() - place.height()) + 1) / 2;
    return rect.adjusted(0, -half, 0, half);
}

} // namespace

QRect TextFit::around(const QRect& place, const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    return grownTo(place, QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(text))),
                                static_cast<int>(std::ceil(ink.height()))));
}

QRect TextFit::grown(const QRect& place, const QWidget& widget) {
    return grownTo(place, widget.sizeHint());
}

} // namespace ui
