// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/PcmSound.h"

#include <cstdint>
#include <vector>

namespace voice {

// The one format the output stream is opened with: the clips' own, signed 16-bit mono at
// 22,050 Hz. Anything else is converted once, when it is loaded, so the stream never has
// to be reopened for a sound of another format.
class StreamFormat {
  public:
    static constexpr int kRate = 22050;
    static constexpr int kBytesPerFrame = 2;

    // Channels averaged to one, then resampled linearly to kRate. Speech clips carry little
    // above 8 kHz, so linear interpolation is enough here.
    static std::vector<std::int16_t> convert(const PcmSound& sound);

    static std::int64_t framesFor(std::int64_t ms) { return ms * kRate / 1000; }
};

} // namespace voice
