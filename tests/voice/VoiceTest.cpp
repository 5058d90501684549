// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/Voice.h"
#include "TempDir.h"
#include "VoiceFakes.h"
#include "WavBytes.h"
#include "voice/ClipFolder.h"
#include "voice/SoundLoader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using voicetest::ManualClock;
using voicetest::RecordingPlayer;

TEST(Voice, plays_each_clip_by_its_number_from_the_clip_folder) {
    ManualClock clock;
    RecordingPlayer player(clock);
    voice::Voice voice(player, "/run/user/0/yuyin-jisuanqi");
    for (const int clip : {100, 107, 117, 118}) {
        voice.playClip(clip);
    }
    ASSERT_EQ(player.played.size(), 4u);
    EXPECT_EQ(player.played[0].path, "/run/user/0/yuyin-jisuanqi/100.wav");
    EXPECT_EQ(player.played[1].path, "/run/user/0/yuyin-jisuanqi/107.wav");
    EXPECT_EQ(player.played[2].path, "/run/user/0/yuyin-jisuanqi/117.wav");
    EXPECT_EQ(player.played[3].path, "/run/user/0/yuyin-jisuanqi/118.wav");
}

TEST(Voice, without_a_usable_folder_asks_for_no_file_so_the_fallback_sounds) {
    ManualClock clock;
    RecordingPlayer player(clock);
    voice::Voice voice(player, "");
    voice.playClip(105);
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.played[0].path, "");
    EXPECT_EQ(voice.clipPath(105), "") << "never a path at the root of the file system";
}

// Loads what each play asks for, as the real player does.
class LoadingPlayer : public voice::ClipPlayer {
  public:
    void play(const std::string& path) override {
        heard.push_back(voice::SoundLoader::fromPath(path));
    }
    void playFile(const voice::ClipFile& file) override {
        heard.push_back(voice::SoundLoader::fromFolder(file));
    }
    void playSamples(voice::SoundLoader::Samples samples) override { heard.push_back(samples); }
    bool fallback(std::size_t i) const { return heard.at(i) == voice::SoundLoader::fallback(); }

    std::vector<voice::SoundLoader::Samples> heard;
};

TEST(Voice, reads_clips_only_inside_the_folder_it_checked) {
    voicetest::TempDir dir;
    const std::string folder = dir / "yuyin-jisuanqi";
    ASSERT_EQ(voice::ClipFolder::prepare(folder), voice::FolderStatus::Ready);
    voicetest::writeBytes(folder + "/105.wav", voicetest::rampWav(2205));
    voicetest::writeBytes(dir / "private.wav", voicetest::rampWav(2205));
    ASSERT_EQ(symlink((dir / "private.wav").c_str(), (folder + "/107.wav").c_str()), 0);
    LoadingPlayer player;
    voice::Voice voice(player, folder);

    voice.playClip(105);
    voice.playClip(107);
    EXPECT_FALSE(player.fallback(0));
    EXPECT_TRUE(player.fallback(1)) << "a link at a clip's name is not followed";

    // The folder removed and made again by someone else: the held one is still read, and
    // it no longer has the clip.
    std::filesystem::rename(folder, dir / "moved");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    voicetest::writeBytes(folder + "/105.wav", voicetest::rampWav(4410));
    std::filesystem::remove(dir / "moved/105.wav");
    voice.playClip(105);
    EXPECT_TRUE(player.fallback(2));

    voice::Voice unchecked(player, dir / "missing");
    unchecked.playClip(105);
    EXPECT_TRUE(player.fallback(3)) << "a folder that could not be checked is not read";
}

} // namespace
