// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes where a clip file should be: the decoder must neither read out of bounds nor
// return a sound its own limits refuse.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "voice/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const voice::WavResult result = voice::WavFile::decode(std::span(data, size));
    if (result.ok()) {
        const voice::PcmSound& sound = *result.sound;
        if (sound.channels < 1 || sound.channels > voice::WavFile::kMaxChannels ||
            sound.sampleRate < voice::WavFile::kMinRate ||
            sound.sampleRate > voice::WavFile::kMaxRate ||
            sound.durationMs() > voice::WavFile::kMaxSeconds * 1000 ||
            sound.samples.size() % static_cast<std::size_t>(sound.channels) != 0) {
            std::abort();
        }
    } else if (result.error.empty()) {
        std::abort();
    }
    return 0;
}
