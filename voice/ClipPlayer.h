// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace voice {

// Plays one sound at a time. Every call returns at once; a new play cuts off the sound
// still playing. A file is read afresh at every play, so a clip file replaced or removed
// while the program runs is heard as it is now; a file that is missing or cannot be
// decoded is answered with the built-in fallback sound.
class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;

    // A WAV file by path.
    virtual void play(const std::string& path) = 0;
    // A clip in the held clip folder. Players that do not read files themselves record the
    // path; the real one opens the name relative to the folder.
    virtual void playFile(const ClipFile& file) { play(file.path); }
    // Sound already in memory: signed 16-bit mono samples at 22,050 Hz (StreamFormat).
    virtual void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) = 0;
};

} // namespace voice
