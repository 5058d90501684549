// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/VoicePack.h"

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace voice {

// Converts a voice pack on a thread of its own: a pack within every limit can take seconds
// to decode and resample, and the window must keep answering meanwhile. The pack is handed
// over whole, once every file has been converted or refused, so that the keys never speak
// partly in one voice and partly in another.
class PackLoader {
  public:
    explicit PackLoader(std::string folder, VoicePack::Report report = VoicePack::toStandardError);
    // Stops after the file in hand rather than converting the rest for nobody.
    ~PackLoader() = default;
    PackLoader(const PackLoader&) = delete;
    PackLoader& operator=(const PackLoader&) = delete;

    // The pack once it is whole, the first time this is asked after that; never waits.
    std::optional<VoicePack> take();

  private:
    VoicePack pack_;
    std::atomic<bool> done_ = false;
    bool taken_ = false;
    // Last, so that it stops and is joined before what it writes to goes.
    std::jthread thread_;
};

} // namespace voice
