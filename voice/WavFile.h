// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/PcmSound.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace voice {

// The outcome of decoding: the sound, or why there is none.
struct WavResult {
    std::optional<PcmSound> sound;
    std::string error;

    bool ok() const { return sound.has_value(); }
};

// Decodes a WAV file into 16-bit PCM. The clip files live in a folder the program writes,
// but what is read back is treated as untrusted: only RIFF WAVE with plain PCM or float
// samples, one or two channels, a plausible rate and a short length are accepted.
class WavFile {
  public:
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;
    static constexpr int kMinRate = 8000;
    static constexpr int kMaxRate = 96000;
    static constexpr int kMaxChannels = 2;
    static constexpr int kMaxSeconds = 10;

    static WavResult decode(std::span<const std::uint8_t> bytes);
    // Reads at most kMaxFileBytes (+1 to notice a larger file) and decodes them. Only a
    // regular file is read: a FIFO at the clip's name must not hang the player.
    static WavResult load(const std::string& path);
    // The same for a file in an open folder, refusing a link at the name and a file that
    // is not the running user's own.
    static WavResult loadAt(int dirFd, const std::string& name);
};

} // namespace voice
