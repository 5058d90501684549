// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SoundLibraries.h"

#include <dlfcn.h>
#include <mutex>

namespace voice {

namespace {

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// The handles stay open for the life of the process: the functions are kept.
std::string loadInto(SoundLibraries& libraries) {
    // By its full path first: once sound has played, a stand-in answers to libsndfile's
    // plain name (platform/SndfileStandIn), and the loader only gives it for a plain name. The
    // plain name remains for a libsndfile kept elsewhere; should it give the stand-in, that
    // lacks sf_open_virtual and is refused below.
    void* sndfile = dlopen(CALC_SNDFILE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (sndfile == nullptr) {
        sndfile = dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
    }
    if (sndfile == nullptr) {
        return "libsndfile cannot be loaded";
    }
    void* samplerate = dlopen("libsamplerate.so.0", RTLD_NOW | RTLD_LOCAL);
    if (samplerate == nullptr) {
        return "libsamplerate cannot be loaded";
    }
    if (!resolve(sndfile, "sf_open_virtual", libraries.openVirtual) ||
        !resolve(sndfile, "sf_readf_float", libraries.readFloat) ||
        !resolve(sndfile, "sf_close", libraries.close) ||
        !resolve(samplerate, "src_simple", libraries.resample)) {
        return "libsndfile or libsamplerate lacks a function it should have";
    }
    return {};
}

} // namespace

const SoundLibraries* SoundLibraries::get(std::string& why) {
    static SoundLibraries libraries;
    static std::string failure;
    static std::once_flag loaded;
    std::call_once(loaded, [] { failure = loadInto(libraries); });
    why = failure;
    return failure.empty() ? &libraries : nullptr;
}

} // namespace voice
