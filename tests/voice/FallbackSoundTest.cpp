// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/FallbackSound.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(FallbackSound, is_a_short_soft_mono_sound_that_starts_and_ends_quietly) {
    const voice::PcmSound& sound = voice::FallbackSound::sound();
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.sampleRate, 22050);
    EXPECT_EQ(sound.durationMs(), 120);
    int peak = 0;
    for (const auto s : sound.samples) {
        peak = std::max(peak, std::abs(int{s}));
    }
    EXPECT_GT(peak, 32767 / 10) << "audible";
    EXPECT_LT(peak, 32767 / 2) << "soft";
    EXPECT_LT(std::abs(int{sound.samples.front()}), 100);
    EXPECT_LT(std::abs(int{sound.samples.back()}), 500);
    EXPECT_EQ(&voice::FallbackSound::sound(), &sound) << "built once";
}

} // namespace
