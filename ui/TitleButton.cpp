// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace ui {

TitleButton::TitleButton(QPixmap normal, QPixmap hover, QWidget* parent)
    : QAbstractButton(parent), normal_(std::move(normal)), hoverFace_(std::move(hover)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void TitleButton::setHoverFace(bool hover) {
    if (hover_ != hover) {
        hover_ = hover;
        update();
    }
}

void TitleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, hover_ ? hoverFace_ : normal_);
}

void TitleButton::mouseMoveEvent(QMouseEvent* event) {
    setHoverFace(true);
    emit hovered();
    QAbstractButton::mouseMoveEvent(event);
}

} // namespace ui
