#pragma once

#include <memory>
#include <string>

namespace voice {

struct PcmSound;

// Plays one WAV file at a time. play() returns at once; a new play cuts off the clip still
// sounding. The file is read afresh at every play, so a clip file replaced or removed while
// the program runs is heard as it is now; a file that is missing or cannot be decoded is
// answered with the built-in fallback sound.
class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;
    virtual void play(const std::string& path) = 0;
    // Plays a sound already in memory, cutting off the one before in the same way.
    virtual void playSound(std::shared_ptr<const PcmSound> sound) = 0;
};

} // namespace voice
