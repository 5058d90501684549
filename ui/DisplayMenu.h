// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>

class QAction;

namespace ui {

// The menu a right press on the display opens: copy and paste the number, hear it or the
// last calculation again, and choose how numbers are read. Each item shows its key; the keys
// themselves are the window's, so that the menu adds no second way for them to fire.
class DisplayMenu : public QMenu {
    Q_OBJECT
  public:
    explicit DisplayMenu(QWidget* parent);

    // Brings the items up to date before the menu shows.
    void prepare(bool pasteAllowed, bool placeUnits);

    QAction* copyItem() const { return copy_; }
    QAction* pasteItem() const { return paste_; }
    QAction* readAgainItem() const { return readAgain_; }
    QAction* readCalculationItem() const { return readCalculation_; }
    QAction* digitsItem() const { return digits_; }
    QAction* placeUnitsItem() const { return placeUnits_; }

  signals:
    void copyChosen();
    void pasteChosen();
    void readAgainChosen();
    void readCalculationChosen();
    void styleChosen(bool placeUnits);

  private:
    QAction* addItem(const char* caption, const char* key, const char* name);

    QAction* copy_;
    QAction* paste_;
    QAction* readAgain_;
    QAction* readCalculation_;
    QAction* digits_;
    QAction* placeUnits_;
};

} // namespace ui
