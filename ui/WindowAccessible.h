// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace ui {

// The main window as a screen reader meets it: a window, named after the program. Qt takes a
// frameless top-level widget for a mere client area.
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(QWidget* window);

    // Registers the factory once; later calls do nothing.
    static void install();

  private:
    static QAccessibleInterface* create(const QString& className, QObject* object);
};

} // namespace ui
