// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <samplerate.h>
#include <sndfile.h>
#include <string>

namespace voice {

// libsndfile and libsamplerate, loaded the first time a voice pack is read rather than
// linked: most people have no pack, and libsndfile maps a codec library for every format it
// reads into the process, which would slow every start.
class SoundLibraries {
  public:
    // The libraries, loaded once and kept; nullptr when either cannot be loaded, with the
    // reason in `why`.
    static const SoundLibraries* get(std::string& why);

    decltype(&sf_open_virtual) openVirtual = nullptr;
    decltype(&sf_readf_float) readFloat = nullptr;
    decltype(&sf_close) close = nullptr;
    decltype(&src_simple) resample = nullptr;
};

} // namespace voice
