#pragma once

#include "voice/ClipPlayer.h"

#include <functional>
#include <memory>

namespace voice {

// Makes the real player at the first play, so that what it loads and starts (the sound
// library, its thread) costs nothing to a calculator that is never asked to speak. The calls
// come from one thread, as they do to any player.
class DeferredClipPlayer : public ClipPlayer {
  public:
    explicit DeferredClipPlayer(std::function<std::unique_ptr<ClipPlayer>()> make);

    void play(const std::string& path) override;
    void playFile(const ClipFile& file) override;
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) override;

  private:
    ClipPlayer& player();

    std::function<std::unique_ptr<ClipPlayer>()> make_;
    std::unique_ptr<ClipPlayer> player_;
};

} // namespace voice
