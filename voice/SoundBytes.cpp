#include "voice/SoundBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace voice {

SNDFILE* SoundBytes::open(SF_INFO& info) {
    static SF_VIRTUAL_IO io{&SoundBytes::length, &SoundBytes::seek, &SoundBytes::read,
                            &SoundBytes::write, &SoundBytes::tell};
    position_ = 0;
    return sf_open_virtual(&io, SFM_READ, &info, this);
}

sf_count_t SoundBytes::length(void* user) {
    return static_cast<sf_count_t>(static_cast<SoundBytes*>(user)->bytes_.size());
}

sf_count_t SoundBytes::seek(sf_count_t offset, int whence, void* user) {
    auto* self = static_cast<SoundBytes*>(user);
    const auto size = static_cast<sf_count_t>(self->bytes_.size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR) {
        base = self->position_;
    } else if (whence == SEEK_END) {
        base = size;
    }
    // Far outside the buffer means a corrupt header; clamping keeps later arithmetic sane.
    if (offset > size || offset < -size) {
        return -1;
    }
    self->position_ = std::clamp<sf_count_t>(base + offset, 0, size);
    return self->position_;
}

sf_count_t SoundBytes::read(void* destination, sf_count_t count, void* user) {
    auto* self = static_cast<SoundBytes*>(user);
    const auto size = static_cast<sf_count_t>(self->bytes_.size());
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - self->position_);
    if (n > 0) {
        std::memcpy(destination, self->bytes_.data() + self->position_,
                    static_cast<std::size_t>(n));
    }
    self->position_ += n;
    return n;
}

sf_count_t SoundBytes::tell(void* user) {
    return static_cast<SoundBytes*>(user)->position_;
}

bool SoundBytes::readCapped(int fd, std::size_t limit, std::size_t sizeHint,
                            std::vector<std::uint8_t>& bytes) {
    const std::size_t cap = limit + 1;
    bytes.resize(std::clamp<std::size_t>(sizeHint + 1, 1, cap));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() == cap) {
                break;
            }
            bytes.resize(std::min(bytes.size() * 2, cap));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
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

} // namespace voice
