// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/VoicePack.h"
#include "voice/Voice.h"

#include "../record/TestFiles.h"
#include "VoiceFakes.h"
#include "WavBytes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using voice::VoicePack;
using voicetest::wavBytes;

// A sine tone, 16-bit; in stereo the right channel is silent, so a mix halves the level.
std::vector<std::uint8_t> toneWav(std::uint32_t rate, std::uint16_t channels, double seconds) {
    std::vector<std::int16_t> samples;
    const int frames = static_cast<int>(rate * seconds);
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 440 * i / rate)));
        if (channels == 2) {
            samples.push_back(0);
        }
    }
    return wavBytes({1, channels, rate, 16, voicetest::pcm16(samples)});
}

double peak(const voice::PcmSound& sound) {
    double most = 0;
    for (const std::int16_t s : sound.samples) {
        most = std::max(most, std::abs(static_cast<double>(s)));
    }
    return most;
}

std::string asText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// Collects the reported lines where the assertions can read them.
VoicePack::Report into(std::ostringstream& errors) {
    return [&errors](const std::string& line) { errors << line; };
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(VoicePack, converts_any_rate_and_channel_count_to_the_clip_format) {
    const auto converted = VoicePack::convert(toneWav(44100, 2, 1.0));
    ASSERT_TRUE(converted.sound) << converted.error;
    EXPECT_EQ(converted.sound->sampleRate, 22050);
    EXPECT_EQ(converted.sound->channels, 1);
    EXPECT_NEAR(static_cast<double>(converted.sound->frames()), 22050, 4);
    EXPECT_NEAR(peak(*converted.sound), 8000, 300) << "the two channels are averaged";

    const auto same = VoicePack::convert(toneWav(22050, 1, 0.5));
    ASSERT_TRUE(same.sound);
    EXPECT_EQ(same.sound->frames(), 11025);
    EXPECT_NEAR(peak(*same.sound), 16000, 2);
}

TEST(VoicePack, refuses_what_is_too_long_too_large_or_no_sound) {
    const struct {
        std::vector<std::uint8_t> bytes;
        const char* why;
    } rows[] = {
        {toneWav(22050, 1, 3.1), "longer than 3 s"},
        {std::vector<std::uint8_t>(VoicePack::kMaxFileBytes + 1, 0), "larger than 2 MB"},
        {{}, "empty"},
        {std::vector<std::uint8_t>(100, 'x'), "not a sound file"},
        {wavBytes({1, 1, 22050, 16, {}}), "no sound in it"},
    };
    for (const auto& row : rows) {
        const auto converted = VoicePack::convert(row.bytes);
        EXPECT_FALSE(converted.sound) << row.why;
        EXPECT_NE(converted.error.find(row.why), std::string::npos) << converted.error;
    }
    EXPECT_TRUE(VoicePack::convert(toneWav(48000, 1, 2.9)).sound);
}

TEST(VoicePack, loads_own_files_and_names_each_refused_one) {
    testfiles::TempFolder app;
    const std::string folder = app / "voice";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    testfiles::writeFile(folder + "/105.wav", asText(toneWav(44100, 2, 0.4)));
    testfiles::writeFile(folder + "/106.wav", "RIFF broken");
    testfiles::writeFile(folder + "/108.wav", "");
    testfiles::writeFile(app / "private.wav", asText(toneWav(22050, 1, 0.2)));
    ASSERT_EQ(symlink((app / "private.wav").c_str(), (folder + "/107.wav").c_str()), 0);
    ASSERT_EQ(mkdir((folder + "/109.wav").c_str(), 0700), 0);
    testfiles::writeFile(folder + "/99.wav", asText(toneWav(22050, 1, 0.2)));
    testfiles::writeFile(folder + "/123.wav", asText(toneWav(22050, 1, 0.2)));
    testfiles::writeFile(folder + "/124.wav", asText(toneWav(22050, 1, 0.2)));

    std::ostringstream errors;
    const VoicePack pack = VoicePack::load(folder, into(errors));
    EXPECT_EQ(pack.count(), 2);
    ASSERT_NE(pack.clip(105), nullptr);
    EXPECT_NE(pack.clip(123), nullptr) << "the last place unit, 亿";
    EXPECT_EQ(pack.clip(124), nullptr);
    EXPECT_EQ(pack.clip(107), nullptr);
    EXPECT_EQ(lineCount(errors.str()), 4) << errors.str();
    for (const char* name : {"/106.wav: ", "/107.wav: a symbolic link", "/108.wav: empty",
                             "/109.wav: not a regular file"}) {
        EXPECT_NE(errors.str().find(folder + name), std::string::npos) << name;
    }

    // Played from memory in place of the file; the other clips still come from the folder.
    voicetest::ManualClock clock;
    voicetest::RecordingPlayer player(clock);
    voice::Voice voice(player, "/clips");
    voice.setPack(pack);
    voice.playClip(105);
    voice.playClip(106);
    ASSERT_EQ(player.samples.size(), 1u);
    EXPECT_EQ(player.samples[0], pack.clip(105));
    EXPECT_EQ(player.played[1].path, "/clips/106.wav");
}

TEST(VoicePack, a_folder_others_could_fill_is_not_used) {
    testfiles::TempFolder app;
    const std::string folder = app / "voice";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    testfiles::writeFile(folder + "/105.wav", asText(toneWav(22050, 1, 0.2)));
    ASSERT_EQ(symlink(folder.c_str(), (app / "linked").c_str()), 0);
    chmod(folder.c_str(), 0777);

    for (const auto& [path, why] :
         {std::pair{folder, "writable by others"}, std::pair{app / "linked", "a symbolic link"},
          std::pair{app / "absent", ""}}) {
        std::ostringstream errors;
        EXPECT_EQ(VoicePack::load(path, into(errors)).count(), 0) << path;
        EXPECT_EQ(lineCount(errors.str()), *why ? 1 : 0) << errors.str();
        EXPECT_NE(errors.str().find(why), std::string::npos) << errors.str();
    }
    chmod(folder.c_str(), 0700);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    std::ostringstream errors;
    EXPECT_EQ(VoicePack::load(folder, into(errors)).count(), 0);
    EXPECT_NE(errors.str().find("owned by another user"), std::string::npos) << errors.str();
}
