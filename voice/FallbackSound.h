// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/PcmSound.h"

namespace voice {

// The short sound heard when a clip file is missing or cannot be played: two soft tones,
// falling, so that it is not mistaken for one of the spoken clips.
class FallbackSound {
  public:
    static constexpr int kSampleRate = 22050;
    static constexpr int kDurationMs = 120;

    // Built once, on first use; the same object on every call.
    static const PcmSound& sound();

  private:
    static PcmSound build();
};

} // namespace voice
