#include "voice/Voice.h"
#include "VoiceFakes.h"

#include <gtest/gtest.h>

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

} // namespace
