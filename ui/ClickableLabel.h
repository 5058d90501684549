// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace ui {

// A label or picture on the skin that answers a click: drawn transparently, one line of
// text or one picture, no focus, no frame.
class ClickableLabel : public QAbstractButton {
    Q_OBJECT
  public:
    ClickableLabel(const QString& text, const QFont& font, QColor colour, QWidget* parent);
    ClickableLabel(QPixmap picture, QWidget* parent);

    const QPixmap& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    QColor colour_;
};

} // namespace ui
