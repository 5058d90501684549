// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ReadingTimer.h"

#include <QTimer>
#include <functional>

namespace platform {

// The reading's pace on the window's thread. A precise timer keeps the 450 ms steps even;
// a coarse one may drift by up to 5 %.
class QtReadingTimer : public voice::ReadingTimer {
  public:
    explicit QtReadingTimer(std::function<void()> onTimeout);

    void start(int intervalMs) override;
    void stop() override;
    bool active() const override;

  private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

} // namespace platform
