// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as one of the user's own recordings, through the real libsndfile and
// libsamplerate: the conversion must neither fail the process nor keep a sound outside the
// clip format and its length limit.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "voice/VoicePack.h"

// libvorbis, through libsndfile, loses its header state on some broken Ogg streams: a few
// kilobytes once per such file, in code this program does not own.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libvorbis.so\nleak:libsndfile.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using voice::VoicePack;
    const VoicePack::Converted converted = VoicePack::convert(std::span(data, size));
    if (converted.sound) {
        const voice::PcmSound& sound = *converted.sound;
        // The resampler may give a few frames beyond the exact ratio.
        if (sound.sampleRate != VoicePack::kSampleRate || sound.channels != 1 ||
            sound.samples.empty() || sound.durationMs() > VoicePack::kMaxMilliseconds + 5) {
            std::abort();
        }
    } else if (converted.error.empty()) {
        std::abort();
    }
    return 0;
}
