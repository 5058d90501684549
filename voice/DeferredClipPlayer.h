// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipPlayer.h"

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace voice {

// Makes the real player at the first play, so that what it loads and starts (the sound
// library, its thread) costs nothing to a calculator that is never asked to speak. It is made
// on a thread of its own: loading a library and the dozen it needs can take tens of
// milliseconds on a busy machine, and the key that asked for the sound must show at once.
// Plays that come meanwhile are handed over in order once it exists.
class DeferredClipPlayer : public ClipPlayer {
  public:
    explicit DeferredClipPlayer(std::function<std::unique_ptr<ClipPlayer>()> make);
    ~DeferredClipPlayer() override;
    DeferredClipPlayer(const DeferredClipPlayer&) = delete;
    DeferredClipPlayer& operator=(const DeferredClipPlayer&) = delete;

    void play(const std::string& path) override;
    void playFile(const ClipFile& file) override;
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) override;

  private:
    using Call = std::function<void(ClipPlayer&)>;

    void forward(Call call);

    std::function<std::unique_ptr<ClipPlayer>()> make_;
    std::mutex mutex_;
    std::unique_ptr<ClipPlayer> player_; // set once, by the maker
    std::vector<Call> waiting_;
    std::thread maker_;
};

} // namespace voice
