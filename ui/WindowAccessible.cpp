// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowAccessible.h"

#include "ui/AboutWindow.h"
#include "ui/CalculatorWindow.h"

namespace ui {

WindowAccessible::WindowAccessible(QWidget* window, QAccessible::Role role)
    : QAccessibleWidget(window, role) {}

void WindowAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&WindowAccessible::create);
        return true;
    }();
    (void)installed;
}

QAccessibleInterface* WindowAccessible::create(const QString&, QObject* object) {
    if (auto* window = qobject_cast<CalculatorWindow*>(object)) {
        return new WindowAccessible(window, QAccessible::Window);
    }
    if (auto* about = qobject_cast<AboutWindow*>(object)) {
        return new WindowAccessible(about, QAccessible::Dialog);
    }
    return nullptr;
}

} // namespace ui
