// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DisplayBox.h"

#include "platform/AtspiDescription.h"
#include "ui/DisplayAccessible.h"
#include "ui/Layout.h"
#include "ui/SongFont.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace ui {

namespace {

// A rim of dark ink round every glyph. The LCD face is light, and the lighter text colours
// (cyan above all) hardly stand out from it by brightness; the rim gives each colour a dark
// edge to read against, while the glyphs keep the chosen colour.
const QColor kRim(34, 43, 50);

} // namespace

DisplayBox::DisplayBox(QPixmap face, QPixmap indicator, QWidget* parent)
    : QWidget(parent), face_(std::move(face)), indicator_(new QLabel(this)),
      font_(SongFont::pixelFont(SongFont::k21_75pt, true)) {
    DisplayAccessible::install();
    setObjectName(QStringLiteral("Picture5"));
    setAccessibleName(QStringLiteral("显示"));
    setGeometry(toPixels(layout::kDisplay));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Every typed character is meant for the display, so the screen reader's attention
    // belongs there too: what the program announces is told where the focus is.
    setFocusPolicy(Qt::StrongFocus);

    indicator_->setObjectName(QStringLiteral("Image8"));
    indicator_->setAccessibleName(QStringLiteral("语音报数已开启"));
    indicator_->setPixmap(indicator);
    indicator_->setGeometry(toPixels(layout::kIndicator));
    indicator_->hide();
}

void DisplayBox::paintLayout(const engine::DisplayLayout& layout) {
    text_ = QString::fromStdString(layout.text);
    origin_ = QPointF(toPixelsF(layout.xTwips), toPixelsF(layout.yTwips));
    painted_ = fore_;
    // The value follows every drawing, but no change is sent: a screen reader speaks each
    // change of the focused display, over the program's voice and its own key echo. The
    // program says when a number is worth telling.
    update();
}

// A screen reader speaks a changed description of the object in focus as it stands, each time,
// even when it is the same as before.
void DisplayBox::announce(const QString& text) {
    announcement_ = text;
    if (!platform::AtspiDescription::send(QAccessible::queryAccessibleInterface(this), text)) {
        QAccessibleEvent change(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&change);
    }
    emit announced(text);
}

void DisplayBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Qt tells a screen reader of the focus only when it moves between widgets; when the
    // window comes back to the front, or a menu closes, the focus is the display's again
    // and the screen reader must hear that, or it keeps the window itself as its focus and
    // ignores what the display announces.
    QAccessibleEvent focus(this, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    emit focused();
}

// Only the mouse opens the display's menu: the Menu key and Shift+F10 are the options menu's.
void DisplayBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit menuAsked(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

void DisplayBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0));
    painter.drawPixmap(0, 0, face_);
    painter.setClipRect(rect());
    const QPointF baseline(origin_.x(), origin_.y() + QFontMetricsF(font_).ascent());
    paintRim(painter, baseline);
    painter.setPen(painted_);
    painter.drawText(baseline, text_);
}

// The rim is the text itself in dark ink, a pixel out in every direction, under the text. It
// is drawn from the same glyphs as the text, so it fits them whatever the platform's outlines.
void DisplayBox::paintRim(QPainter& painter, QPointF baseline) const {
    painter.setFont(font_);
    painter.setPen(kRim);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) {
                painter.drawText(baseline + QPointF(dx, dy), text_);
            }
        }
    }
}

} // namespace ui
