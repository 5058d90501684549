// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyButton.h"

#include "ui/SongFont.h"
#include "ui/Twips.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace ui {

namespace {

// The face sits inside the frame; captions are placed from the face's corner.
constexpr int kFramePx = 1;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

KeyButton::KeyButton(const engine::KeyInfo& info, KeyFaces faces, QWidget* parent)
    : QAbstractButton(parent), info_(info), faces_(std::move(faces)),
      caption_(toQString(info.caption)), captionFont_(SongFont::caption(info.font)) {
    setGeometry(
        toPixels(TwipsRect{info.leftTwips, info.topTwips, info.widthTwips, info.heightTwips}));
    const QString index =
        info.group == engine::KeyGroup::Signs ? QString() : QStringLiteral("_%1").arg(info.index);
    setObjectName(toQString(info.control) + index);
    setAccessibleName(toQString(info.accessibleName));
    // Keys never take the focus: the space bar and Enter belong to the calculator.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF KeyButton::captionOrigin() const {
    return {kFramePx + toPixelsF(info_.captionXTwips), kFramePx + toPixelsF(info_.captionYTwips)};
}

void KeyButton::paintCaption() {
    captionShown_ = true;
    update();
}

bool KeyButton::swapsFace() const {
    return info_.group != engine::KeyGroup::Signs;
}

void KeyButton::showFace(bool pressed) {
    pressedFace_ = pressed;
    // A new face wipes what was painted on the old one.
    captionShown_ = false;
    update();
}

void KeyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QPixmap& face = pressedFace_ ? faces_.pressed : faces_.normal;
    painter.drawPixmap(kFramePx, kFramePx, face);
    if (!captionShown_) {
        return;
    }
    painter.setFont(captionFont_);
    painter.setPen(info_.cyanCaption ? QColor(0, 255, 255) : QColor(255, 255, 255));
    const QPointF origin = captionOrigin();
    painter.drawText(QPointF(origin.x(), origin.y() + QFontMetricsF(captionFont_).ascent()),
                     caption_);
}

void KeyButton::mousePressEvent(QMouseEvent* event) {
    if (swapsFace()) {
        showFace(true);
    }
    // Only the left button clicks; the others just show the face.
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
    } else {
        event->accept();
    }
}

void KeyButton::mouseReleaseEvent(QMouseEvent* event) {
    if (swapsFace()) {
        showFace(false);
        emit lifted();
    }
    // The click comes last, so that it finds the face and captions restored.
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
    } else {
        event->accept();
    }
}

} // namespace ui
