// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PulseLibrary.h"
#include "voice/VoicePack.h"

#include "WavBytes.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

bool mapped(const std::string& name) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

// The order that could go wrong: the sound library first, with the stand-in answering to
// libsndfile's name, then a voice pack, which needs the real libsndfile to decode.
TEST(SndfileStandIn, stands_in_for_the_sound_library_and_a_voice_pack_still_decodes) {
    ASSERT_NE(platform::PulseLibrary::symbol("pa_context_new_with_proplist"), nullptr);
    EXPECT_TRUE(mapped("libsndfile stand-in"));
    EXPECT_FALSE(mapped("/libsndfile.so")) << "the real libsndfile and its codecs were loaded";

    const auto converted = voice::VoicePack::convert(voicetest::rampWav(4410, 44100));
    ASSERT_TRUE(converted.sound) << converted.error;
    EXPECT_NEAR(static_cast<double>(converted.sound->frames()), 2205, 2);
    EXPECT_TRUE(mapped("/libsndfile.so"));
}
