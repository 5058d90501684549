// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

namespace ui {

// The record list. How far its lines scroll sideways is set from outside, not measured
// from the lines: a line longer than the set extent is cut off.
class RecordListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit RecordListBox(QWidget* parent);

    // Width in pixels of the area the lines can be scrolled across; the scroll bar covers
    // what of it lies beyond the visible width.
    void setHorizontalExtent(int pixels);
    int horizontalExtent() const { return extent_; }

  protected:
    void updateGeometries() override;

  private:
    void applyExtent();

    int extent_ = 0;
};

} // namespace ui
