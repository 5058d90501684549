// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Tells when a window is first painted, and when that round of painting is over: the event
// loop is idle again, so the picture has gone to the display server.
class PaintSpy : public QObject {
  public:
    PaintSpy(QWidget& window, std::function<void()> painting, std::function<void()> painted);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    std::function<void()> painting_;
    std::function<void()> painted_;
    bool seen_ = false;
};
