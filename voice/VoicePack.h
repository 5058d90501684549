// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ClipNumbers.h"
#include "voice/PcmSound.h"
#include "voice/StreamFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace voice {

// Recordings of the user's own that replace built-in clips: <folder>/100.wav … 123.wav, in
// any format libsndfile reads. Each is converted once, when loaded, to the format of the
// built-in clips (16-bit mono at 22,050 Hz) and kept in memory. A file that is missing
// keeps the built-in clip; one that is refused keeps it too and says why, one line each.
class VoicePack {
  public:
    static constexpr int kSampleRate = StreamFormat::kRate;
    static constexpr std::size_t kMaxFileBytes = 2 * 1024 * 1024;
    static constexpr int kMaxMilliseconds = 3000;

    // The outcome of converting one file: the sound, or why there is none.
    struct Converted {
        std::optional<PcmSound> sound;
        std::string error;
    };

    // Nothing is followed through a symbolic link, and the folder must be the running
    // user's own and closed to others: anyone who can put a file there chooses what the
    // keys say.
    // Each refusal is reported as one line. A stop asked for ends the loading after the file
    // in hand, with the pack as far as it got.
    using Report = std::function<void(const std::string&)>;
    static void toStandardError(const std::string& line);
    static VoicePack load(const std::string& folder, const Report& report = toStandardError,
                          const std::stop_token& stop = {});
    static Converted convert(std::span<const std::uint8_t> bytes);

    using Samples = std::shared_ptr<const std::vector<std::int16_t>>;

    // The recording for a clip number, or nullptr for the built-in clip.
    Samples clip(int number) const;
    int count() const;

  private:
    // Shared with the player, which may still be sounding a clip when the pack goes.
    std::array<Samples, engine::kLastClip - engine::kFirstClip + 1> clips_;
};

} // namespace voice
