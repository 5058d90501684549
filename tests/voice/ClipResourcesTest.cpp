// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ClipResources.h"
#include "TempDir.h"
#include "voice/ClipExtractor.h"
#include "voice/WavFile.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(ClipResources, carries_every_clip_and_they_are_written_out_playable) {
    const auto clips = platform::ClipResources::load();
    ASSERT_EQ(clips.size(), 24u);
    voicetest::TempDir dir;
    ASSERT_TRUE(voice::extractClips(dir.path().string(), clips));
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const int number = 100 + static_cast<int>(i);
        EXPECT_EQ(clips[i].number, number);
        const std::string path = dir / (std::to_string(number) + ".wav");
        EXPECT_EQ(voicetest::readBytes(path), clips[i].bytes) << path;
        const auto decoded = voice::WavFile::load(path);
        ASSERT_TRUE(decoded.ok()) << path << ": " << decoded.error;
        EXPECT_EQ(decoded.sound->sampleRate, 22050) << path;
        EXPECT_EQ(decoded.sound->channels, 1) << path;
    }
}

} // namespace
