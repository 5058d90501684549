// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipPlayer.h"
#include "voice/ReadingTimer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace voicetest {

// A clock that only moves when a test moves it.
struct ManualClock {
    int nowMs = 0;
};

struct PlayedClip {
    std::string path;
    int atMs;

    bool operator==(const PlayedClip&) const = default;
};

// Remembers every play with the time it happened.
class RecordingPlayer : public voice::ClipPlayer {
  public:
    explicit RecordingPlayer(const ManualClock& clock) : clock_(clock) {}
    void play(const std::string& path) override { played.push_back({path, clock_.nowMs}); }
    // Sound from memory is listed as "(samples)" and kept in `samples`.
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>> sound) override {
        played.push_back({"(samples)", clock_.nowMs});
        samples.push_back(std::move(sound));
    }

    std::vector<PlayedClip> played;
    std::vector<std::shared_ptr<const std::vector<std::int16_t>>> samples;

  private:
    const ManualClock& clock_;
};

// A timer whose ticks are fired by the test: fireDue() moves the clock to the next tick and
// runs the given step, as the event loop would.
class ManualTimer : public voice::ReadingTimer {
  public:
    explicit ManualTimer(ManualClock& clock) : clock_(clock) {}

    void start(int intervalMs) override {
        intervalMs_ = intervalMs;
        nextDueMs_ = clock_.nowMs + intervalMs;
        active_ = true;
    }
    void stop() override { active_ = false; }
    bool active() const override { return active_; }

    template <typename Step> void runUntilStopped(Step step, int maxTicks = 1000) {
        for (int i = 0; i < maxTicks && active_; ++i) {
            clock_.nowMs = nextDueMs_;
            nextDueMs_ += intervalMs_;
            step();
        }
    }

    int intervalMs() const { return intervalMs_; }

  private:
    ManualClock& clock_;
    int intervalMs_ = 0;
    int nextDueMs_ = 0;
    bool active_ = false;
};

} // namespace voicetest
