// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace ui {

// A minimise or close picture on the skin. It lights up when the pointer moves over it and
// stays lit until the window tells it otherwise.
class TitleButton : public QAbstractButton {
    Q_OBJECT
  public:
    TitleButton(QPixmap normal, QPixmap hover, QWidget* parent);

    void setHoverFace(bool hover);
    bool showsHoverFace() const { return hover_; }

  signals:
    void hovered();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QPixmap normal_;
    QPixmap hoverFace_;
    bool hover_ = false;
};

} // namespace ui
