// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DisplayLayout.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

class QLabel;
class QPainter;

namespace ui {

// The display: the calculator's number drawn over an LCD face. What is drawn stays until
// the next number is drawn; a new colour takes effect from that drawing on, as ink would.
class DisplayBox : public QWidget {
    Q_OBJECT
  public:
    DisplayBox(QPixmap face, QPixmap indicator, QWidget* parent);

    void paintLayout(const engine::DisplayLayout& layout);
    void setForeColour(QColor colour) { fore_ = colour; }
    QColor foreColour() const { return fore_; }

    // What the display shows now, in the colour it was drawn in.
    const QString& text() const { return text_; }
    QColor paintedColour() const { return painted_; }
    // Top left corner of the text line, in logical pixels of the display.
    QPointF textOrigin() const { return origin_; }
    QFont textFont() const { return font_; }

    QLabel* indicator() const { return indicator_; }

    // Hands the screen reader a text to speak at once, even the same text again: "2+2"
    // then "2*2" both give 4, and a listener must hear both.
    void announce(const QString& text);
    // What was last announced; empty before the first announcement.
    const QString& announcement() const { return announcement_; }

  signals:
    // A text was handed to assistive technology.
    void announced(const QString& text);
    // A screen reader asked to hear the number again.
    void readAloudAsked();
    // The display got the keyboard focus.
    void focused();
    // A right press on the display, at this place on the screen.
    void menuAsked(QPoint globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void paintRim(QPainter& painter, QPointF baseline) const;

    QPixmap face_;
    QLabel* indicator_;
    QFont font_;
    QString text_;
    QString announcement_;
    QPointF origin_;
    QColor fore_{0, 0, 255};
    QColor painted_{0, 0, 255};
};

} // namespace ui
