// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/VoicePack.h"

#include "engine/ClipNumbers.h"
#include "voice/CappedRead.h"
#include "voice/ClipFolder.h"
#include "voice/SoundBytes.h"
#include "voice/SoundLibraries.h"
#include "voice/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace voice {

namespace {

constexpr int kMinRate = 8000;
constexpr int kMaxRate = 192000;
constexpr int kMaxChannels = 8;

VoicePack::Converted refused(std::string why) {
    return VoicePack::Converted{std::nullopt, std::move(why)};
}

// Frames decoded at a time: a file whose header gives no length is read until it ends or
// passes the limit, never sized from a count it does not have.
constexpr sf_count_t kBlockFrames = 4096;

// Averages the channels of each frame into one.
void appendDownmixed(const float* frames, sf_count_t count, int channels,
                     std::vector<float>& mono) {
    const auto width = static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        float sum = 0.0F;
        for (std::size_t c = 0; c < width; ++c) {
            sum += frames[i * width + c];
        }
        mono.push_back(sum / static_cast<float>(channels));
    }
}

// A band-limited resampler: speech resampled by interpolating between samples would carry
// audible aliasing and a dulled top.
bool resample(const SoundLibraries& libraries, std::vector<float>& mono, int fromRate) {
    if (fromRate == VoicePack::kSampleRate) {
        return true;
    }
    const double ratio = static_cast<double>(VoicePack::kSampleRate) / fromRate;
    std::vector<float> out(static_cast<std::size_t>(static_cast<double>(mono.size()) * ratio) + 16);
    SRC_DATA data{};
    data.data_in = mono.data();
    data.input_frames = static_cast<long>(mono.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    if (libraries.resample(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(data.output_frames_gen));
    mono = std::move(out);
    return true;
}

// The frames a file may hold at its rate; the rate is checked first, so this cannot overflow.
sf_count_t maxFrames(const SF_INFO& info) {
    return static_cast<sf_count_t>(info.samplerate) * VoicePack::kMaxMilliseconds / 1000;
}

std::string checkInfo(const SF_INFO& info) {
    if (info.channels < 1 || info.channels > kMaxChannels) {
        return "unsupported channel count";
    }
    if (info.samplerate < kMinRate || info.samplerate > kMaxRate) {
        return "unsupported sample rate";
    }
    // A stream written without its length (FLAC or Ogg written to a pipe) reports the
    // largest count there is; only the reading can tell how long it is.
    if (info.frames < SF_COUNT_MAX && info.frames > maxFrames(info)) {
        return "longer than 3 s";
    }
    return {};
}

// Decodes to mono, one frame more than the limit at most, so that a longer file is seen as
// such whatever its header claimed.
std::string readMono(const SoundLibraries& libraries, SNDFILE* file, const SF_INFO& info,
                     std::vector<float>& mono) {
    const sf_count_t limit = maxFrames(info);
    std::vector<float> block(static_cast<std::size_t>(kBlockFrames * info.channels));
    sf_count_t total = 0;
    while (total <= limit) {
        const sf_count_t want = std::min(kBlockFrames, limit + 1 - total);
        const sf_count_t got = libraries.readFloat(file, block.data(), want);
        if (got <= 0) {
            break;
        }
        appendDownmixed(block.data(), std::min(got, want), info.channels, mono);
        total += std::min(got, want);
        if (got < want) {
            break;
        }
    }
    if (total > limit) {
        return "longer than 3 s";
    }
    return total == 0 ? "no sound in it" : std::string();
}

VoicePack::Converted readFile(int dirFd, const std::string& name) {
    UniqueFd file(openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        return refused(errno == ELOOP ? "a symbolic link" : "cannot be opened");
    }
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return refused("not a regular file");
    }
    if (info.st_size == 0) {
        return refused("empty");
    }
    std::vector<std::uint8_t> bytes;
    if (!readCapped(file.get(), VoicePack::kMaxFileBytes, static_cast<std::size_t>(info.st_size),
                    bytes)) {
        return refused("cannot be read");
    }
    return VoicePack::convert(bytes);
}

// O_DIRECTORY is checked on a link itself, so a link to a folder fails as "not a folder".
const char* whyNotOpened(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        return "cannot be opened";
    }
    if (S_ISLNK(info.st_mode)) {
        return "a symbolic link";
    }
    return S_ISDIR(info.st_mode) ? "cannot be opened" : "not a folder";
}

} // namespace

VoicePack::Converted VoicePack::convert(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return refused("empty");
    }
    if (bytes.size() > kMaxFileBytes) {
        return refused("larger than 2 MB");
    }
    std::string why;
    const SoundLibraries* libraries = SoundLibraries::get(why);
    if (libraries == nullptr) {
        return refused(why);
    }
    SoundBytes memory(bytes);
    SF_INFO info{};
    SNDFILE* file = memory.open(*libraries, info);
    if (file == nullptr) {
        return refused("not a sound file libsndfile can read");
    }
    if (why = checkInfo(info); !why.empty()) {
        libraries->close(file);
        return refused(why);
    }
    std::vector<float> mono;
    why = readMono(*libraries, file, info, mono);
    libraries->close(file);
    if (!why.empty()) {
        return refused(why);
    }
    if (!resample(*libraries, mono, info.samplerate) || mono.empty()) {
        return refused("cannot be resampled");
    }
    PcmSound sound;
    sound.sampleRate = kSampleRate;
    sound.channels = 1;
    sound.samples.reserve(mono.size());
    for (const float sample : mono) {
        // What lies beyond full scale is clipped rather than wrapped round.
        sound.samples.push_back(
            static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0F, 1.0F) * 32767.0F)));
    }
    return Converted{std::move(sound), {}};
}

// Standard error without the C++ streams: a program that includes none of them does not set
// up their locale and buffers at start, which it would otherwise pay for in memory for
// messages it almost never writes.
void VoicePack::toStandardError(const std::string& line) {
    std::fputs(line.c_str(), stderr);
}

VoicePack VoicePack::load(const std::string& folder, const Report& report,
                          const std::stop_token& stop) {
    VoicePack pack;
    UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.valid()) {
        if (errno != ENOENT) {
            report(std::string(ClipFolder::kProgramName) + ": " + folder + ": " +
                   whyNotOpened(folder) + "; the built-in clips are kept\n");
        }
        return pack;
    }
    if (const FolderStatus status = ClipFolder::checkOpenFolder(dir.get());
        status != FolderStatus::Ready) {
        report(std::string(ClipFolder::kProgramName) + ": " + folder + ": " +
               folderStatusText(status) + "; the built-in clips are kept\n");
        return pack;
    }
    for (int number = engine::kFirstClip; number <= engine::kLastClip && !stop.stop_requested();
         ++number) {
        const std::string name = std::to_string(number) + ".wav";
        struct stat present {};
        if (fstatat(dir.get(), name.c_str(), &present, AT_SYMLINK_NOFOLLOW) != 0 &&
            errno == ENOENT) {
            continue;
        }
        Converted converted = readFile(dir.get(), name);
        if (!converted.sound) {
            report(std::string(ClipFolder::kProgramName) + ": " + folder + "/" + name + ": " +
                   converted.error + "; the built-in clip is kept\n");
            continue;
        }
        pack.clips_[static_cast<std::size_t>(number - engine::kFirstClip)] =
            std::make_shared<const std::vector<std::int16_t>>(std::move(converted.sound->samples));
    }
    return pack;
}

VoicePack::Samples VoicePack::clip(int number) const {
    if (number < engine::kFirstClip || number > engine::kLastClip) {
        return nullptr;
    }
    return clips_[static_cast<std::size_t>(number - engine::kFirstClip)];
}

int VoicePack::count() const {
    return static_cast<int>(std::count_if(clips_.begin(), clips_.end(),
                                          [](const auto& clip) { return clip != nullptr; }));
}

} // namespace voice
