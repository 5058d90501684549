// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegion>

class QWidget;

namespace platform {

// The rounded outline of a frameless window: the corners outside an ellipse are cut away,
// so they are neither drawn nor take the mouse.
class WindowShape {
  public:
    static constexpr int kCornerPx = 24;

    // A w × h rectangle whose corners are rounded by a cornerW × cornerH ellipse.
    static QRegion roundedRect(int w, int h, int cornerW, int cornerH);
    // The rounded outline of the window at its current size.
    static QRegion outline(const QWidget& window, int cornerW = kCornerPx, int cornerH = kCornerPx);
    // Cuts the window to its current size; called again whenever that size may have changed.
    // Under a compositor the mask limits only where the window takes the mouse, and the
    // window must leave its corners unpainted itself.
    static void apply(QWidget& window, int cornerW = kCornerPx, int cornerH = kCornerPx);
};

} // namespace platform
