// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SoundBytes.h"

#include "voice/SoundLibraries.h"

#include <algorithm>
#include <cstring>

namespace voice {

SNDFILE* SoundBytes::open(const SoundLibraries& libraries, SF_INFO& info) {
    static SF_VIRTUAL_IO io{&SoundBytes::length, &SoundBytes::seek, &SoundBytes::read,
                            &SoundBytes::write, &SoundBytes::tell};
    position_ = 0;
    return libraries.openVirtual(&io, SFM_READ, &info, this);
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

} // namespace voice
