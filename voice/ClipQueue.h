// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace voice {

// What the output stream plays: the current sound, then silence, with the sounds asked for
// next waiting their turn. The stream pulls from it on the sound thread.
//
// A new sound normally cuts the current one at once. It waits only when the current sound
// has not yet had its due: as much time as lay between the two plays, at most
// kMinSoundMs. That happens when the plays arrive bunched up after a stall (a busy sound
// server, a paused process): each of a reading's characters is still heard, in order and
// for at least kMinSoundMs, instead of the later one replacing the earlier before anyone
// heard it.
class ClipQueue {
  public:
    using Samples = std::shared_ptr<const std::vector<std::int16_t>>;

    static constexpr int kMinSoundMs = 300;
    // Time the current sound may still be short of its due and be cut anyway: the stream
    // pulls in blocks, so a sound's count runs a little ahead of or behind what was heard.
    static constexpr int kSlackMs = 30;
    // Sounds that may wait. A server that takes no audio for long while keys keep coming
    // would otherwise grow the queue without end; beyond this the newest sound takes the
    // place of the last waiting one.
    static constexpr std::size_t kMaxWaiting = 32;

    // gapFrames: the time between this play and the one before it, in frames. Returns true
    // when the sound starts at once, and the audio already queued at the server has to be
    // replaced; false when it waits behind the current one.
    bool add(Samples samples, std::int64_t gapFrames);
    // Drops everything and starts this sound: for plays while no stream runs, when nothing
    // was heard that could be owed its time.
    void restart(Samples samples);

    // The next `frames` samples of the output.
    void read(std::int16_t* out, std::size_t frames);

    // Frames of silence since the last sound ended; 0 while anything sounds or waits.
    std::int64_t silentFrames() const;
    bool waiting() const { return !waiting_.empty(); }

  private:
    struct Waiting {
        Samples samples;
        std::int64_t afterFrames; // of the sound before it
    };

    Samples current_;
    std::int64_t position_ = 0; // frames since the current sound started, silence included
    std::deque<Waiting> waiting_;
};

} // namespace voice
