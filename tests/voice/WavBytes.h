// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voicetest {

// Builds RIFF WAVE files in memory, with every header field open to tampering.
struct WavSpec {
    std::uint16_t formatTag = 1; // PCM
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 22050;
    std::uint16_t bitsPerSample = 16;
    std::vector<std::uint8_t> data;
};

inline void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

inline void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

inline std::vector<std::uint8_t> wavBytes(const WavSpec& wav) {
    const std::uint16_t blockAlign = wav.channels * wav.bitsPerSample / 8;
    std::vector<std::uint8_t> out;
    putTag(out, "RIFF");
    putLe(out, static_cast<std::uint32_t>(36 + wav.data.size()), 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe(out, 16, 4);
    putLe(out, wav.formatTag, 2);
    putLe(out, wav.channels, 2);
    putLe(out, wav.sampleRate, 4);
    putLe(out, wav.sampleRate * blockAlign, 4);
    putLe(out, blockAlign, 2);
    putLe(out, wav.bitsPerSample, 2);
    putTag(out, "data");
    putLe(out, static_cast<std::uint32_t>(wav.data.size()), 4);
    out.insert(out.end(), wav.data.begin(), wav.data.end());
    return out;
}

inline std::vector<std::uint8_t> pcm16(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> out;
    for (const std::int16_t s : samples) {
        putLe(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

// Mono 16-bit at 22050 Hz: a ramp, so that any reordering or loss of samples shows.
inline std::vector<std::uint8_t> rampWav(int frames, std::uint32_t rate = 22050) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<std::int16_t>((i * 37) % 20000 - 10000));
    }
    return wavBytes({1, 1, rate, 16, pcm16(samples)});
}

} // namespace voicetest
