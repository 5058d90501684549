// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <sndfile.h>
#include <span>

namespace voice {

class SoundLibraries;

// A sound file already read into memory, opened with libsndfile through callbacks, so that
// decoding is a pure function of the bytes and the file is read only once.
class SoundBytes {
  public:
    explicit SoundBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    SoundBytes(const SoundBytes&) = delete;
    SoundBytes& operator=(const SoundBytes&) = delete;

    // nullptr when libsndfile knows no format for the bytes. The caller closes the handle
    // through the same library, and keeps this object alive until then.
    SNDFILE* open(const SoundLibraries& libraries, SF_INFO& info);

  private:
    static sf_count_t length(void* user);
    static sf_count_t seek(sf_count_t offset, int whence, void* user);
    static sf_count_t read(void* destination, sf_count_t count, void* user);
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* user);

    std::span<const std::uint8_t> bytes_;
    sf_count_t position_ = 0;
};

} // namespace voice
