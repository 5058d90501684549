// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/FallbackSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace voice {

namespace {

constexpr double kFirstToneHz = 880.0;
constexpr double kSecondToneHz = 660.0;
constexpr double kPeak = 0.3 * 32767.0;
// Ramps at both ends and at the change of tone keep the edges from clicking.
constexpr int kFadeFrames = FallbackSound::kSampleRate * 5 / 1000;

double envelope(int frame, int start, int length) {
    const int fromStart = frame - start;
    const int toEnd = start + length - 1 - frame;
    const int nearest = std::min(fromStart, toEnd);
    return nearest >= kFadeFrames ? 1.0 : static_cast<double>(nearest) / kFadeFrames;
}

} // namespace

const PcmSound& FallbackSound::sound() {
    static const PcmSound built = build();
    return built;
}

PcmSound FallbackSound::build() {
    const int total = kSampleRate * kDurationMs / 1000;
    const int half = total / 2;
    PcmSound result;
    result.sampleRate = kSampleRate;
    result.channels = 1;
    result.samples.reserve(static_cast<std::size_t>(total));
    for (int frame = 0; frame < total; ++frame) {
        const bool first = frame < half;
        const double hz = first ? kFirstToneHz : kSecondToneHz;
        const int start = first ? 0 : half;
        const int length = first ? half : total - half;
        const double t = static_cast<double>(frame - start) / kSampleRate;
        const double value =
            kPeak * envelope(frame, start, length) * std::sin(2.0 * std::numbers::pi * hz * t);
        result.samples.push_back(static_cast<std::int16_t>(std::lround(value)));
    }
    return result;
}

} // namespace voice
