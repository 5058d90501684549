// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtReadingTimer.h"

#include <utility>

namespace platform {

QtReadingTimer::QtReadingTimer(std::function<void()> onTimeout) : onTimeout_(std::move(onTimeout)) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTimeout_) {
            onTimeout_();
        }
    });
}

void QtReadingTimer::start(int intervalMs) {
    timer_.start(intervalMs);
}

void QtReadingTimer::stop() {
    timer_.stop();
}

bool QtReadingTimer::active() const {
    return timer_.isActive();
}

} // namespace platform
