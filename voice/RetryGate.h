// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace voice {

// Paces the attempts to reach the sound server: at most one a second, and only when a
// sound is asked for, so an absent server costs nothing while the calculator is quiet.
class RetryGate {
  public:
    static constexpr std::int64_t kIntervalMs = 1000;

    // True when an attempt may start now; the attempt is then counted from nowMs.
    bool tryAt(std::int64_t nowMs) {
        if (last_ && nowMs - *last_ < kIntervalMs) {
            return false;
        }
        last_ = nowMs;
        return true;
    }

  private:
    std::optional<std::int64_t> last_;
};

} // namespace voice
