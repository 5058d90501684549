// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

// A mouse event at a point of the screen, delivered to a widget as the desktop would.
void sendMouse(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPointF local = target->mapFromGlobal(global);
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void drag(QWidget* target, QPoint from, QPoint by, Qt::MouseButton button) {
    const QPoint start = target->mapToGlobal(from);
    sendMouse(target, QEvent::MouseButtonPress, start, button, button);
    sendMouse(target, QEvent::MouseMove, start + by / 2, Qt::NoButton, button);
    sendMouse(target, QEvent::MouseMove, start + by, Qt::NoButton, button);
    sendMouse(target, QEvent::MouseButtonRelease, start + by, button, Qt::NoButton);
}

} // namespace

TEST(Dragging, the_background_drags_the_window_with_any_button) {
    // A compositor that cannot start a move of its own (as here, offscreen) leaves the
    // window to follow the pointer itself.
    for (const auto system :
         {ui::WindowSystem::Kind::SelfPlacing, ui::WindowSystem::Kind::Compositor}) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            WindowHarness h("1500,1500,#FALSE#,1,2,1\r\n", system);
            const QPoint before = h.window.pos();
            drag(&h.window, QPoint(150, 20), QPoint(37, -21), button);
            EXPECT_EQ(h.window.pos(), before + QPoint(37, -21))
                << button << " " << static_cast<int>(system);
        }
    }
}

TEST(Dragging, controls_never_drag_the_window) {
    WindowHarness h("1500,1500,#FALSE#,1,2,1\r\n");
    const QPoint before = h.window.pos();
    for (const char* name : {"Picture1_4", "Picture5", "Image8", "Image10", "Image9", "Image1_0"}) {
        QWidget* control = h.find(QLatin1String(name));
        drag(&h.window, control->mapTo(&h.window, QPoint(3, 3)), QPoint(30, 30), Qt::RightButton);
        EXPECT_EQ(h.window.pos(), before) << name;
    }
}

TEST(Dragging, after_the_release_the_window_stays_put) {
    WindowHarness h("1500,1500,#FALSE#,1,2,1\r\n");
    drag(&h.window, QPoint(150, 20), QPoint(10, 10), Qt::LeftButton);
    const QPoint after = h.window.pos();
    sendMouse(&h.window, QEvent::MouseMove, h.window.mapToGlobal(QPoint(160, 60)), Qt::NoButton,
              Qt::NoButton);
    EXPECT_EQ(h.window.pos(), after);
}
