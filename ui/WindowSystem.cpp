// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowSystem.h"

#include <QGuiApplication>

namespace ui {

WindowSystem::Kind WindowSystem::current() {
    // "wayland", and the variants some builds name after their graphics stack.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? Kind::Compositor
                                                                                : Kind::SelfPlacing;
}

} // namespace ui
