// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SpeechReader.h"
#include "VoiceFakes.h"
#include "voice/Voice.h"

#include <cctype>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using voicetest::ManualClock;
using voicetest::ManualTimer;
using voicetest::PlayedClip;
using voicetest::RecordingPlayer;

const std::string kFolder = "/clips";

struct Reading {
    std::vector<int> clips;
    std::vector<int> timesMs;
    std::optional<int> finishedAtMs;
    int finishedCount = 0;
    std::string trimmedResult;
};

// Equals at time 0, then the timer runs the reading to its end.
Reading readAloud(std::string resultText, int readDecimals) {
    ManualClock clock;
    RecordingPlayer player(clock);
    ManualTimer timer(clock);
    voice::Voice voice(player, kFolder);
    voice::SpeechReader reader(voice, timer);
    Reading out;
    reader.onFinished = [&] {
        out.finishedAtMs = clock.nowMs;
        ++out.finishedCount;
    };
    reader.startReading(resultText, readDecimals);
    timer.runUntilStopped([&] { reader.tick(); });
    for (const PlayedClip& played : player.played) {
        const std::string name = played.path.substr(kFolder.size() + 1);
        out.clips.push_back(std::stoi(name));
        out.timesMs.push_back(played.atMs);
    }
    out.trimmedResult = resultText;
    return out;
}

struct ReadingCase {
    const char* result;
    int readDecimals;
    std::vector<int> clips;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << '"' << c.result << "\" reading " << c.readDecimals << " decimals";
}

std::string caseName(const ::testing::TestParamInfo<ReadingCase>& info) {
    std::string name;
    for (const char c : std::string(info.param.result)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c)
                : c == '.'                                  ? std::string("p")
                : c == '-'                                  ? std::string("m")
                                                            : std::string("_");
    }
    return name + "_reading_" + std::to_string(info.param.readDecimals);
}

class ReadingSequence : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingSequence, plays_one_clip_per_character_every_450_ms_and_finishes_at_the_last) {
    const ReadingCase& c = GetParam();
    const Reading r = readAloud(c.result, c.readDecimals);
    EXPECT_EQ(r.clips, c.clips);
    std::vector<int> expectedTimes;
    for (std::size_t i = 1; i <= c.clips.size(); ++i) {
        expectedTimes.push_back(static_cast<int>(450 * i));
    }
    EXPECT_EQ(r.timesMs, expectedTimes);
    EXPECT_EQ(r.finishedCount, 1);
    EXPECT_EQ(r.finishedAtMs, expectedTimes.back());
}

INSTANTIATE_TEST_SUITE_P(
    Results, ReadingSequence,
    ::testing::Values(
        ReadingCase{"12.5", 2, {101, 102, 110, 105}}, ReadingCase{"12.5", 0, {101, 102}},
        ReadingCase{"15", 2, {101, 105}}, ReadingCase{"0.666666666666667", 2, {100, 110, 106, 106}},
        ReadingCase{"0.666666666666667", 4, {100, 110, 106, 106, 106, 106}},
        ReadingCase{"-0.125", 2, {118, 100, 110, 101, 102}}, ReadingCase{"-0.125", 0, {118, 100}},
        ReadingCase{"3", 4, {103}}, ReadingCase{"0", 2, {100}},
        ReadingCase{"2.5", 4, {102, 110, 105}},
        ReadingCase{"1234567890", 2, {101, 102, 103, 104, 105, 106, 107, 108, 109, 100}},
        // Exponent form: mantissa as a number, the click, the exponent's digits.
        ReadingCase{"1.5E+15", 2, {101, 110, 105, 117, 101, 105}},
        ReadingCase{"1.5E+15", 0, {101, 117, 101, 105}},
        ReadingCase{"1E+15", 4, {101, 117, 101, 105}},
        ReadingCase{"-2.5E+20", 2, {118, 102, 110, 105, 117, 102, 100}},
        ReadingCase{"1.23456789012346E+17", 4, {101, 110, 102, 103, 104, 105, 117, 101, 107}},
        ReadingCase{"9.99999999999999E+307", 2, {109, 110, 109, 109, 117, 103, 100, 107}},
        // Never produced by the calculator, but a negative exponent has its sign
        // and leading zeros carry nothing.
        ReadingCase{"1.5E-05", 2, {101, 110, 105, 117, 118, 105}}),
    caseName);

TEST(SpeechReader, trims_the_result_text_in_place_and_reads_without_the_blanks) {
    const Reading r = readAloud("  15.5 ", 2);
    EXPECT_EQ(r.trimmedResult, "15.5");
    EXPECT_EQ(r.clips, (std::vector<int>{101, 105, 110, 105}));
}

TEST(SpeechReader, keeps_the_text_to_read_with_its_length_and_next_position) {
    ManualClock clock;
    RecordingPlayer player(clock);
    ManualTimer timer(clock);
    voice::Voice voice(player, kFolder);
    voice::SpeechReader reader(voice, timer);
    std::string result = "1.5E+15";
    reader.startReading(result, 2);
    EXPECT_EQ(reader.speechText(), "1.5E15");
    EXPECT_EQ(reader.speechLen(), 6);
    EXPECT_EQ(reader.speechPos(), 1);
    EXPECT_TRUE(timer.active());
    EXPECT_EQ(timer.intervalMs(), voice::SpeechReader::kTimer1IntervalMs);
    EXPECT_TRUE(player.played.empty()) << "the first character waits for the first tick";
    reader.tick();
    EXPECT_EQ(reader.speechPos(), 2);
}

TEST(SpeechReader, a_tick_after_the_reading_ended_plays_nothing) {
    ManualClock clock;
    RecordingPlayer player(clock);
    ManualTimer timer(clock);
    voice::Voice voice(player, kFolder);
    voice::SpeechReader reader(voice, timer);
    int finished = 0;
    reader.onFinished = [&] { ++finished; };
    std::string result = "7";
    reader.startReading(result, 2);
    reader.tick();
    reader.tick();
    EXPECT_EQ(player.played.size(), 1u);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(timer.active());
}

TEST(SpeechReader, a_new_reading_starts_again_from_its_first_character) {
    ManualClock clock;
    RecordingPlayer player(clock);
    ManualTimer timer(clock);
    voice::Voice voice(player, kFolder);
    voice::SpeechReader reader(voice, timer);
    std::string first = "98";
    reader.startReading(first, 2);
    reader.tick();
    std::string second = "4";
    reader.startReading(second, 2);
    timer.runUntilStopped([&] { reader.tick(); });
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_EQ(player.played[0].path, "/clips/109.wav");
    EXPECT_EQ(player.played[1].path, "/clips/104.wav");
}

TEST(SpeechReader, maps_each_character_to_its_clip) {
    const std::vector<std::pair<char, int>> table = {{'0', 100}, {'1', 101}, {'5', 105}, {'9', 109},
                                                     {'.', 110}, {'-', 118}, {'E', 117}, {'x', 100},
                                                     {' ', 100}, {'\0', 100}};
    for (const auto& [c, clip] : table) {
        EXPECT_EQ(voice::SpeechReader::clipForCharacter(c), clip) << "character " << int(c);
    }
}

} // namespace
