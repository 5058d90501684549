// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/RecordList.h"

class QLabel;
class QWidget;

namespace ui {

class ClickableLabel;
class RecordListBox;

// The controls of the record panel, laid on the main window's right half, and how they
// show a record list. They start closed, hidden.
class RecordPanel {
  public:
    explicit RecordPanel(QWidget& window);

    void show(const record::RecordList& list);
    // Shows the controls while the window is wide enough to show them, and hides them
    // otherwise: the window would cut them off anyway, but a screen reader would still
    // find them.
    void setOpen(bool open);
    bool isOpen() const { return open_; }

    QLabel* countLabel() const { return count_; }
    QLabel* fullNotice() const { return full_; }
    RecordListBox* list() const { return list_; }
    ClickableLabel* clearLabel() const { return clear_; }
    ClickableLabel* viewLabel() const { return view_; }
    ClickableLabel* saveLabel() const { return save_; }
    ClickableLabel* stopLabel() const { return stop_; }

  private:
    void showLines(const record::RecordList& list);
    void showCount(const record::RecordList& list);
    void showCountOrNotice();

    QLabel* count_;
    QLabel* full_;
    RecordListBox* list_;
    ClickableLabel* clear_;
    ClickableLabel* view_;
    ClickableLabel* save_;
    ClickableLabel* stop_;
    bool open_ = false;
    bool listFull_ = false;
};

} // namespace ui
