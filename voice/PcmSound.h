// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace voice {

// Decoded sound ready for an audio device: interleaved signed 16-bit samples.
struct PcmSound {
    std::vector<std::int16_t> samples;
    int sampleRate = 0;
    int channels = 0;

    std::int64_t frames() const {
        return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
    }
    std::int64_t durationMs() const { return sampleRate > 0 ? frames() * 1000 / sampleRate : 0; }
};

} // namespace voice
