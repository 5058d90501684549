// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace ui {

// The program's windows as a screen reader meets them: the main window a window named after the
// program (Qt takes a frameless top-level widget for a mere client area), About a dialog, whose
// texts a screen reader reads out when it opens.
class WindowAccessible : public QAccessibleWidget {
  public:
    WindowAccessible(QWidget* window, QAccessible::Role role);

    // Registers the factory once; later calls do nothing.
    static void install();

  private:
    static QAccessibleInterface* create(const QString& className, QObject* object);
};

} // namespace ui
