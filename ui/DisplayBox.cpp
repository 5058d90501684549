#include "ui/DisplayBox.h"

#include "ui/DisplayAccessible.h"
#include "ui/Layout.h"
#include "ui/SongFont.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <utility>

namespace ui {

DisplayBox::DisplayBox(QPixmap face, QPixmap indicator, QWidget* parent)
    : QWidget(parent), face_(std::move(face)), indicator_(new QLabel(this)),
      font_(SongFont::pixelFont(SongFont::k21_75pt, true)) {
    DisplayAccessible::install();
    setObjectName(QStringLiteral("Picture5"));
    setAccessibleName(QStringLiteral("显示"));
    setGeometry(toPixels(layout::kDisplay));
    setAttribute(Qt::WA_OpaquePaintEvent);

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
    update();
    announce();
}

// Every drawing is announced, even of the same text again: "2+2" shows 2 twice, and a
// listener must hear both.
void DisplayBox::announce() {
    setAccessibleDescription(text_);
    QAccessibleValueChangeEvent valueChange(this, text_);
    QAccessible::updateAccessibility(&valueChange);
    emit announced(text_);
}

void DisplayBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0));
    painter.drawPixmap(0, 0, face_);
    painter.setClipRect(rect());
    painter.setFont(font_);
    painter.setPen(painted_);
    painter.drawText(QPointF(origin_.x(), origin_.y() + QFontMetricsF(font_).ascent()), text_);
}

} // namespace ui
