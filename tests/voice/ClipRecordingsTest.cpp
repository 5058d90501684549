// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the committed voice clips byte by byte: the player and the clip
// files written at start-up rely on the plain PCM layout, and the reading of
// a result steps every 450 ms, so a read-out clip must have gone quiet by then.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#ifndef CLIP_SOURCE_DIR
#error "CLIP_SOURCE_DIR must name the folder holding the clip recordings"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kSampleRate = 22050;
constexpr std::size_t kCanonicalHeaderSize = 44;
constexpr double kReadingLimitSeconds = 0.400;
constexpr double kSpeechLevel = 0.01; // -40 dBFS
constexpr double kLoudLevel = 0.501;  // just above -6 dBFS

struct ClipCase {
    int number;
    int milliseconds;
    int bits;
    bool readOut; // spoken as part of a result, one character per step
};

void PrintTo(const ClipCase& clip, std::ostream* os) {
    *os << clip.number << ".wav";
}

constexpr ClipCase kClips[] = {
    {100, 417, 16, true},  {101, 335, 16, true},  {102, 329, 16, true},  {103, 476, 16, true},
    {104, 402, 16, true},  {105, 386, 16, true},  {106, 316, 16, true},  {107, 450, 16, true},
    {108, 331, 16, true},  {109, 459, 16, true},  {110, 395, 16, true},  {111, 872, 16, false},
    {112, 361, 16, false}, {113, 378, 16, false}, {114, 438, 16, false}, {115, 498, 16, false},
    {116, 368, 16, false}, {117, 80, 8, false},   {118, 220, 16, true},  {119, 400, 16, true},
    {120, 400, 16, true},  {121, 400, 16, true},  {122, 400, 16, true},  {123, 400, 16, true},
};

struct WavFile {
    std::uint32_t riffSize = 0;
    std::uint32_t fmtSize = 0;
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bits = 0;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;
};

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t readLe(const Bytes& bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | bytes[offset + i];
    }
    return value;
}

bool hasTag(const Bytes& bytes, std::size_t offset, const char* tag) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (bytes[offset + i] != static_cast<std::uint8_t>(tag[i])) {
            return false;
        }
    }
    return true;
}

void readFormat(const Bytes& bytes, std::size_t body, WavFile& wav) {
    wav.format = static_cast<std::uint16_t>(readLe(bytes, body, 2));
    wav.channels = static_cast<std::uint16_t>(readLe(bytes, body + 2, 2));
    wav.sampleRate = readLe(bytes, body + 4, 4);
    wav.bits = static_cast<std::uint16_t>(readLe(bytes, body + 14, 2));
}

// Walks the chunk list; nullopt when the file is not RIFF/WAVE or a chunk
// runs past the end of the file.
std::optional<WavFile> parseWav(const Bytes& bytes) {
    if (bytes.size() < 12 || !hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE")) {
        return std::nullopt;
    }
    WavFile wav;
    wav.riffSize = readLe(bytes, 4, 4);
    std::size_t offset = 12;
    while (offset + 8 <= bytes.size()) {
        const std::size_t size = readLe(bytes, offset + 4, 4);
        const std::size_t body = offset + 8;
        if (size > bytes.size() - body) {
            return std::nullopt;
        }
        if (hasTag(bytes, offset, "fmt ") && size >= 16) {
            wav.fmtSize = static_cast<std::uint32_t>(size);
            readFormat(bytes, body, wav);
        } else if (hasTag(bytes, offset, "data")) {
            wav.dataOffset = body;
            wav.dataSize = size;
            return wav;
        }
        offset = body + size + (size & 1U);
    }
    return std::nullopt;
}

// Samples scaled to [-1, 1): 16-bit is signed, 8-bit is unsigned around 128.
std::vector<double> samplesOf(const Bytes& bytes, const WavFile& wav) {
    std::vector<double> samples;
    const std::size_t width = wav.bits / 8U;
    for (std::size_t at = wav.dataOffset; at + width <= wav.dataOffset + wav.dataSize;
         at += width) {
        if (width == 1) {
            samples.push_back((bytes[at] - 128) / 128.0);
        } else {
            const auto raw = static_cast<std::int16_t>(readLe(bytes, at, 2));
            samples.push_back(raw / 32768.0);
        }
    }
    return samples;
}

double peakOf(const std::vector<double>& samples) {
    double peak = 0.0;
    for (const double s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

// Time just after the last sample above the speech level.
double speechEndSeconds(const std::vector<double>& samples) {
    for (std::size_t i = samples.size(); i-- > 0;) {
        if (std::fabs(samples[i]) > kSpeechLevel) {
            return static_cast<double>(i + 1) / kSampleRate;
        }
    }
    return 0.0;
}

std::size_t expectedFrames(int milliseconds) {
    return (static_cast<std::size_t>(milliseconds) * kSampleRate + 500) / 1000;
}

class ClipRecordingsTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipRecordingsTest, FileFitsItsRole) {
    const ClipCase& clip = GetParam();
    const std::string path =
        std::string(CLIP_SOURCE_DIR) + "/" + std::to_string(clip.number) + ".wav";
    const Bytes bytes = readBytes(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing or empty";
    const std::optional<WavFile> wav = parseWav(bytes);
    ASSERT_TRUE(wav.has_value()) << path << " is not a well-formed RIFF WAVE file";

    EXPECT_EQ(wav->riffSize, bytes.size() - 8);
    EXPECT_EQ(wav->fmtSize, 16U);
    EXPECT_EQ(wav->dataOffset, kCanonicalHeaderSize);
    EXPECT_EQ(wav->format, 1U);
    EXPECT_EQ(wav->channels, 1U);
    EXPECT_EQ(wav->sampleRate, kSampleRate);
    ASSERT_EQ(wav->bits, clip.bits);
    EXPECT_EQ(wav->dataSize, expectedFrames(clip.milliseconds) * (clip.bits / 8U));

    const std::vector<double> samples = samplesOf(bytes, *wav);
    EXPECT_GT(peakOf(samples), kLoudLevel) << "clip is too quiet or silent";
    if (clip.readOut) {
        EXPECT_LT(speechEndSeconds(samples), kReadingLimitSeconds);
    }
}

INSTANTIATE_TEST_SUITE_P(AllClips, ClipRecordingsTest, ::testing::ValuesIn(kClips),
                         [](const ::testing::TestParamInfo<ClipCase>& info) {
                             return "Clip" + std::to_string(info.param.number);
                         });

} // namespace
