// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/StreamFormat.h"

#include <cmath>

namespace voice {

namespace {

std::vector<std::int16_t> downmix(const PcmSound& sound) {
    if (sound.channels <= 1) {
        return sound.samples;
    }
    const auto channels = static_cast<std::size_t>(sound.channels);
    std::vector<std::int16_t> mono(sound.samples.size() / channels);
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        long sum = 0;
        for (std::size_t c = 0; c < channels; ++c) {
            sum += sound.samples[frame * channels + c];
        }
        mono[frame] = static_cast<std::int16_t>(sum / static_cast<long>(channels));
    }
    return mono;
}

} // namespace

std::vector<std::int16_t> StreamFormat::convert(const PcmSound& sound) {
    std::vector<std::int16_t> mono = downmix(sound);
    if (sound.sampleRate == kRate || sound.sampleRate <= 0 || mono.empty()) {
        return mono;
    }
    const double step = static_cast<double>(sound.sampleRate) / kRate;
    const auto frames = static_cast<std::size_t>(static_cast<double>(mono.size()) / step);
    std::vector<std::int16_t> out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double at = static_cast<double>(i) * step;
        const auto left = static_cast<std::size_t>(at);
        const std::size_t right = left + 1 < mono.size() ? left + 1 : left;
        const double weight = at - static_cast<double>(left);
        out[i] = static_cast<std::int16_t>(
            std::lround(mono[left] * (1.0 - weight) + mono[right] * weight));
    }
    return out;
}

} // namespace voice
