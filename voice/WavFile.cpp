#include "voice/WavFile.h"

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

// libsndfile reads through these callbacks from a buffer already in memory, so decoding is
// a pure function of the bytes.
struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryReader*>(user)->bytes.size());
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const auto size = static_cast<sf_count_t>(reader->bytes.size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR) {
        base = reader->position;
    } else if (whence == SEEK_END) {
        base = size;
    }
    // Far outside the buffer means a corrupt header; clamping keeps later arithmetic sane.
    if (offset > size || offset < -size) {
        return -1;
    }
    reader->position = std::clamp<sf_count_t>(base + offset, 0, size);
    return reader->position;
}

sf_count_t memoryRead(void* destination, sf_count_t count, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const auto size = static_cast<sf_count_t>(reader->bytes.size());
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - reader->position);
    if (n > 0) {
        std::memcpy(destination, reader->bytes.data() + reader->position,
                    static_cast<std::size_t>(n));
    }
    reader->position += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* user) {
    return static_cast<MemoryReader*>(user)->position;
}

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

// Reads up to one byte more than the cap, so that a larger file is noticed; the size from
// fstat only sets the first allocation, since the file may change while it is read.
bool readCapped(int fd, std::size_t sizeHint, std::vector<std::uint8_t>& bytes) {
    const std::size_t limit = WavFile::kMaxFileBytes + 1;
    bytes.resize(std::min(sizeHint + 1, limit));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() == limit) {
                break;
            }
            bytes.resize(std::min(bytes.size() * 2, limit));
        }
        const ssize_t n = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return true;
}

} // namespace

WavResult WavFile::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return failure("empty file");
    }
    if (bytes.size() > kMaxFileBytes) {
        return failure("file too large");
    }
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    MemoryReader reader{bytes, 0};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
    if (file == nullptr) {
        return failure("not a readable sound file");
    }
    const std::string why = checkInfo(info);
    WavResult result = why.empty() ? readSamples(file, info) : failure(why);
    sf_close(file);
    return result;
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
    if (!readCapped(file.get(), static_cast<std::size_t>(info.st_size), bytes)) {
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
