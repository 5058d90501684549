#include "voice/WavFile.h"

#include "voice/SoundBytes.h"
#include "voice/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace voice {

namespace {

bool acceptedEncoding(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) {
        return false;
    }
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return true;
    default:
        return false;
    }
}

WavResult failure(std::string why) {
    return WavResult{std::nullopt, std::move(why)};
}

std::string checkInfo(const SF_INFO& info) {
    if (!acceptedEncoding(info.format)) {
        return "not a PCM WAVE file";
    }
    if (info.channels < 1 || info.channels > WavFile::kMaxChannels) {
        return "unsupported channel count";
    }
    if (info.samplerate < WavFile::kMinRate || info.samplerate > WavFile::kMaxRate) {
        return "unsupported sample rate";
    }
    if (info.frames <= 0) {
        return "no sound data";
    }
    if (info.frames > static_cast<sf_count_t>(info.samplerate) * WavFile::kMaxSeconds) {
        return "sound too long";
    }
    return {};
}

WavResult readSamples(SNDFILE* file, const SF_INFO& info) {
    PcmSound sound;
    sound.sampleRate = info.samplerate;
    sound.channels = info.channels;
    sound.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    // Float data beyond ±1.0 would wrap around when converted; let libsndfile clip it.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t got = sf_readf_short(file, sound.samples.data(), info.frames);
    if (got <= 0) {
        return failure("no sound data");
    }
    // A truncated data chunk plays what is there.
    sound.samples.resize(static_cast<std::size_t>(got * info.channels));
    return WavResult{std::move(sound), {}};
}

} // namespace

WavResult WavFile::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return failure("empty file");
    }
    if (bytes.size() > kMaxFileBytes) {
        return failure("file too large");
    }
    SoundBytes memory(bytes);
    SF_INFO info{};
    SNDFILE* file = memory.open(info);
    if (file == nullptr) {
        return failure("not a readable sound file");
    }
    const std::string why = checkInfo(info);
    WavResult result = why.empty() ? readSamples(file, info) : failure(why);
    sf_close(file);
    return result;
}

WavResult WavFile::load(const std::string& path) {
    if (path.empty()) {
        return failure("no file name");
    }
    UniqueFd file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        return failure("cannot open file");
    }
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return failure("not a regular file");
    }
    std::vector<std::uint8_t> bytes;
    if (!SoundBytes::readCapped(file.get(), kMaxFileBytes, static_cast<std::size_t>(info.st_size),
                                bytes)) {
        return failure("cannot read file");
    }
    return decode(bytes);
}

} // namespace voice
