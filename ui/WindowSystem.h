// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace ui {

// How much a frameless window may do for itself on the desktop it runs on.
class WindowSystem {
  public:
    enum class Kind {
        // The window places and moves itself, reports where it is, and its mask cuts both
        // its drawing and its input (X11, and the offscreen platform of the tests).
        SelfPlacing,
        // The compositor places and moves windows and tells nobody where; a mask only limits
        // where the window takes input (Wayland).
        Compositor,
    };

    static Kind current();
};

} // namespace ui
