// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/WavFile.h"

#include "voice/CappedRead.h"

#include "voice/UniqueFd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace voice {

namespace {

// The sample encodings a clip may use, as the format chunk names them.
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xfffe;
// The tail shared by every standard sub-format GUID of WAVE_FORMAT_EXTENSIBLE.
constexpr std::array<std::uint8_t, 14> kGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

struct Format {
    std::uint16_t encoding = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

std::uint32_t readLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

WavResult failure(std::string why) {
    return WavResult{std::nullopt, std::move(why)};
}

std::optional<Format> readFormat(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < 16) {
        return std::nullopt;
    }
    Format format;
    format.encoding = static_cast<std::uint16_t>(readLe(chunk, 0, 2));
    format.channels = static_cast<int>(readLe(chunk, 2, 2));
    format.rate = static_cast<int>(std::min<std::uint32_t>(readLe(chunk, 4, 4), INT32_MAX));
    format.bits = static_cast<int>(readLe(chunk, 14, 2));
    if (format.encoding == kFormatExtensible) {
        // The real encoding is the first two bytes of the sub-format GUID.
        if (chunk.size() < 40 || !std::equal(kGuidTail.begin(), kGuidTail.end(), &chunk[26])) {
            return std::nullopt;
        }
        format.encoding = static_cast<std::uint16_t>(readLe(chunk, 24, 2));
    }
    return format;
}

std::string checkFormat(const Format& format) {
    const bool pcm = format.encoding == kFormatPcm && (format.bits == 8 || format.bits == 16 ||
                                                       format.bits == 24 || format.bits == 32);
    const bool floats = format.encoding == kFormatFloat && format.bits == 32;
    if (!pcm && !floats) {
        return "not a PCM WAVE file";
    }
    if (format.channels < 1 || format.channels > WavFile::kMaxChannels) {
        return "unsupported channel count";
    }
    if (format.rate < WavFile::kMinRate || format.rate > WavFile::kMaxRate) {
        return "unsupported sample rate";
    }
    return {};
}

// One sample as 16 bits: the top 16 bits of wider samples, 8-bit ones moved around zero,
// floats scaled and clipped to the 16-bit range.
std::int16_t sampleAt(const std::uint8_t* at, const Format& format) {
    switch (format.bits) {
    case 8:
        return static_cast<std::int16_t>((at[0] - 128) * 256);
    case 16:
        return static_cast<std::int16_t>(at[0] | (at[1] << 8));
    case 24:
        return static_cast<std::int16_t>(at[1] | (at[2] << 8));
    default:
        break;
    }
    if (format.encoding == kFormatPcm) {
        return static_cast<std::int16_t>(at[2] | (at[3] << 8));
    }
    float value = 0;
    std::memcpy(&value, at, sizeof value);
    const float scaled = value * 32767.0F;
    if (!(scaled > -32768.0F)) { // NaN too
        return scaled < 0 ? std::int16_t{-32768} : std::int16_t{0};
    }
    return scaled >= 32767.0F ? std::int16_t{32767} : static_cast<std::int16_t>(std::lrint(scaled));
}

WavResult readSamples(std::span<const std::uint8_t> data, const Format& format) {
    const std::size_t frameBytes =
        static_cast<std::size_t>(format.channels) * static_cast<std::size_t>(format.bits / 8);
    // A data chunk cut short plays the whole frames that are there.
    const std::size_t frames = data.size() / frameBytes;
    if (frames == 0) {
        return failure("no sound data");
    }
    if (frames > static_cast<std::size_t>(format.rate) * WavFile::kMaxSeconds) {
        return failure("sound too long");
    }
    PcmSound sound;
    sound.sampleRate = format.rate;
    sound.channels = format.channels;
    sound.samples.resize(frames * static_cast<std::size_t>(format.channels));
    const std::size_t sampleBytes = static_cast<std::size_t>(format.bits / 8);
    for (std::size_t i = 0; i < sound.samples.size(); ++i) {
        sound.samples[i] = sampleAt(data.data() + i * sampleBytes, format);
    }
    return WavResult{std::move(sound), {}};
}

} // namespace

// RIFF WAVE: a 12-byte header, then chunks of a tag, a length and the body, each padded to
// an even length. "fmt " must come before "data"; other chunks are skipped.
WavResult WavFile::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return failure("empty file");
    }
    if (bytes.size() > kMaxFileBytes) {
        return failure("file too large");
    }
    if (bytes.size() < 12 || !hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE")) {
        return failure("not a readable sound file");
    }
    std::optional<Format> format;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::size_t declared = readLe(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        const std::span<const std::uint8_t> chunk =
            bytes.subspan(body, std::min(declared, bytes.size() - body));
        if (hasTag(bytes, at, "fmt ")) {
            format = readFormat(chunk);
            if (!format) {
                return failure("not a readable sound file");
            }
            if (std::string why = checkFormat(*format); !why.empty()) {
                return failure(why);
            }
        } else if (hasTag(bytes, at, "data")) {
            return format ? readSamples(chunk, *format) : failure("not a readable sound file");
        }
        if (declared >= bytes.size() - body) {
            break;
        }
        at = body + declared + (declared & 1);
    }
    return failure(format ? "no sound data" : "not a readable sound file");
}

namespace {

WavResult readOpened(int fd, bool ownOnly) {
    UniqueFd file(fd);
    if (!file.valid()) {
        return failure("cannot open file");
    }
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return failure("not a regular file");
    }
    if (ownOnly && info.st_uid != geteuid()) {
        return failure("another user's file");
    }
    std::vector<std::uint8_t> bytes;
    if (!readCapped(file.get(), WavFile::kMaxFileBytes, static_cast<std::size_t>(info.st_size),
                    bytes)) {
        return failure("cannot read file");
    }
    return WavFile::decode(bytes);
}

} // namespace

WavResult WavFile::load(const std::string& path) {
    if (path.empty()) {
        return failure("no file name");
    }
    return readOpened(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), false);
}

WavResult WavFile::loadAt(int dirFd, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return failure("not a plain file name");
    }
    return readOpened(openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC),
                      true);
}

} // namespace voice
