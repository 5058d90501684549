// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ClickableLabel.h"

#include "ui/TextFit.h"

#include <QPainter>
#include <utility>

namespace ui {

ClickableLabel::ClickableLabel(const QString& text, const QFont& font, QColor colour,
                               QWidget* parent)
    : QAbstractButton(parent), colour_(colour) {
    setText(text);
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(text);
}

ClickableLabel::ClickableLabel(QPixmap picture, QWidget* parent)
    : QAbstractButton(parent), picture_(std::move(picture)) {
    setFocusPolicy(Qt::NoFocus);
}

void ClickableLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.drawPixmap(0, 0, picture_);
        return;
    }
    painter.setFont(font());
    painter.setPen(colour_);
    painter.drawText(QPointF(0, TextFit::baseline(font(), text(), height())), text());
}

} // namespace ui
