// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/WavFile.h"
#include "TempDir.h"
#include "WavBytes.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using voice::WavFile;
using voicetest::wavBytes;
using voicetest::WavSpec;

TEST(WavFile, decodes_mono_16_bit_pcm_sample_for_sample) {
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 1234, -4321};
    const auto result = WavFile::decode(wavBytes({1, 1, 22050, 16, voicetest::pcm16(samples)}));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.sound->samples, samples);
    EXPECT_EQ(result.sound->sampleRate, 22050);
    EXPECT_EQ(result.sound->channels, 1);
}

TEST(WavFile, widens_8_bit_unsigned_clicks_to_16_bit_around_zero) {
    const auto result = WavFile::decode(wavBytes({1, 1, 22050, 8, {128, 255, 0, 128}}));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.sound->samples, (std::vector<std::int16_t>{0, 127 * 256, -32768, 0}));
}

TEST(WavFile, keeps_stereo_interleaved_and_knows_the_length) {
    const auto result =
        WavFile::decode(wavBytes({1, 2, 8000, 16, voicetest::pcm16({1, 2, 3, 4, 5, 6})}));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.sound->samples, (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(result.sound->frames(), 3);
    EXPECT_EQ(voicetest::rampWav(22050 / 2).size(), 44u + 22050u);
    EXPECT_EQ(WavFile::decode(voicetest::rampWav(22050 / 2)).sound->durationMs(), 500);
}

TEST(WavFile, plays_what_there_is_of_a_data_chunk_cut_short) {
    auto bytes = voicetest::rampWav(100);
    bytes.resize(bytes.size() - 50); // 25 frames gone, header still claims 100
    const auto result = WavFile::decode(bytes);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.sound->frames(), 75);
}

// Wider and float samples keep their top 16 bits (floats scaled, clipped); a chunk the reader
// does not know, odd-sized and padded, is stepped over; WAVE_FORMAT_EXTENSIBLE names PCM too.
TEST(WavFile, reads_wider_and_float_samples_and_steps_over_unknown_chunks) {
    const auto decoded = [](std::uint16_t tag, std::uint16_t bits, std::vector<std::uint8_t> data) {
        const auto result = WavFile::decode(wavBytes({tag, 1, 8000, bits, std::move(data)}));
        EXPECT_TRUE(result.ok()) << result.error;
        return result.ok() ? result.sound->samples : std::vector<std::int16_t>{};
    };
    EXPECT_EQ(decoded(1, 24, {0xff, 0x34, 0x12, 0x00, 0x00, 0x80}),
              (std::vector<std::int16_t>{0x1234, -32768}));
    EXPECT_EQ(decoded(1, 32, {0xff, 0xff, 0x34, 0x12}), (std::vector<std::int16_t>{0x1234}));
    std::vector<std::uint8_t> floats;
    for (const float f : {0.5F, -2.0F, 3.0F}) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        voicetest::putLe(floats, bits, 4);
    }
    EXPECT_EQ(decoded(3, 32, floats), (std::vector<std::int16_t>{16384, -32768, 32767}));

    std::vector<std::uint8_t> bytes = wavBytes({1, 1, 8000, 16, voicetest::pcm16({7, -7})});
    // An odd-sized LIST chunk and its pad byte, between "fmt " and "data".
    const std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    // The same format as WAVE_FORMAT_EXTENSIBLE: a 40-byte "fmt " chunk naming PCM.
    std::vector<std::uint8_t> extensible(bytes.begin(), bytes.begin() + 12);
    voicetest::putTag(extensible, "fmt ");
    voicetest::putLe(extensible, 40, 4);
    extensible.insert(extensible.end(), bytes.begin() + 20, bytes.begin() + 36);
    extensible[20] = 0xfe;
    extensible[21] = 0xff;
    voicetest::putLe(extensible, 22, 2); // extension size
    voicetest::putLe(extensible, 16, 2); // valid bits
    voicetest::putLe(extensible, 0, 4);  // channel mask
    voicetest::putLe(extensible, 1, 2);  // sub-format: PCM
    const std::vector<std::uint8_t> tail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};
    extensible.insert(extensible.end(), tail.begin(), tail.end());
    extensible.insert(extensible.end(), bytes.begin() + 36, bytes.end());
    for (const auto& file : {bytes, extensible}) {
        const auto result = WavFile::decode(file);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(result.sound->samples, (std::vector<std::int16_t>{7, -7}));
    }
}

struct RefusedCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

std::vector<RefusedCase> refusedCases() {
    const auto oneSecond = voicetest::pcm16(std::vector<std::int16_t>(22050, 100));
    std::vector<std::uint8_t> au = {'.', 's', 'n', 'd', 0, 0, 0,    24,   0, 0, 0, 8,
                                    0,   0,   0,   3,   0, 0, 0x56, 0x22, 0, 0, 0, 1};
    au.insert(au.end(), 8, 1);
    auto badMagic = voicetest::rampWav(100);
    badMagic[0] = 'X';
    auto tooLarge = voicetest::rampWav(100);
    tooLarge.resize(WavFile::kMaxFileBytes + 1);
    std::vector<std::int16_t> elevenSeconds(22050 * 11, 5);
    auto cutShort = voicetest::rampWav(10);
    cutShort.resize(30);
    return {
        {"empty", {}},
        {"garbage", std::vector<std::uint8_t>(300, 0x5a)},
        {"header only, cut in the fmt chunk", cutShort},
        {"not RIFF", badMagic},
        {"no data", wavBytes({1, 1, 22050, 16, {}})},
        {"three channels", wavBytes({1, 3, 22050, 16, voicetest::pcm16({1, 2, 3})})},
        {"zero channels", wavBytes({1, 0, 22050, 16, oneSecond})},
        {"rate too low", wavBytes({1, 1, 4000, 16, oneSecond})},
        {"rate too high", wavBytes({1, 1, 192000, 16, oneSecond})},
        {"rate zero", wavBytes({1, 1, 0, 16, oneSecond})},
        {"longer than ten seconds", wavBytes({1, 1, 22050, 16, voicetest::pcm16(elevenSeconds)})},
        {"larger than the cap", tooLarge},
        {"a-law, not PCM", wavBytes({6, 1, 8000, 8, std::vector<std::uint8_t>(800, 0xd5)})},
        {"another container", au},
    };
}

TEST(WavFile, refuses_what_it_cannot_or_should_not_play) {
    for (const RefusedCase& c : refusedCases()) {
        const auto result = WavFile::decode(c.bytes);
        EXPECT_FALSE(result.ok()) << c.name;
        EXPECT_FALSE(result.error.empty()) << c.name;
    }
}

TEST(WavFile, loads_a_file_afresh_on_every_call) {
    voicetest::TempDir dir;
    const std::string path = dir / "105.wav";
    voicetest::writeBytes(path, voicetest::rampWav(100));
    EXPECT_EQ(WavFile::load(path).sound->frames(), 100);
    voicetest::writeBytes(path, voicetest::rampWav(40));
    EXPECT_EQ(WavFile::load(path).sound->frames(), 40);
}

TEST(WavFile, a_file_that_cannot_be_read_as_a_clip_is_an_error_not_a_hang) {
    voicetest::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo.wav").c_str(), 0600), 0);
    voicetest::writeBytes(dir / "corrupt.wav", std::vector<std::uint8_t>(200, 7));
    auto huge = voicetest::rampWav(100);
    huge.resize(WavFile::kMaxFileBytes + 4096, 0);
    voicetest::writeBytes(dir / "huge.wav", huge);
    const std::vector<std::string> paths = {
        "",
        dir / "missing.wav",
        dir.path().string(),
        dir / "fifo.wav",
        dir / "corrupt.wav",
        dir / "huge.wav",
    };
    for (const std::string& path : paths) {
        const auto started = std::chrono::steady_clock::now();
        const auto result = WavFile::load(path);
        EXPECT_FALSE(result.ok()) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << path;
    }
}

} // namespace
