#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace voice {

// Plays one WAV file at a time. play() returns at once; a new play cuts off the clip still
// sounding. The file is read afresh at every play, so a clip file replaced or removed while
// the program runs is heard as it is now; a file that is missing or cannot be decoded is
// answered with the built-in fallback sound.
class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;
    virtual void play(const std::string& path) = 0;
    // Sound already in memory: signed 16-bit mono samples at 22,050 Hz.
    virtual void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) = 0;
};

} // namespace voice
