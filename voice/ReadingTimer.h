// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voice {

// The timer that paces the reading of a result. Whoever owns the concrete timer calls
// SpeechReader::tick() on each timeout; tests drive it by hand.
class ReadingTimer {
  public:
    virtual ~ReadingTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

} // namespace voice
