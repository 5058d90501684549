// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipExtractor.h"

#include <QString>
#include <vector>

namespace platform {

// The voice clips carried inside the program as Qt resources, :/clips/<n>.wav.
class ClipResources {
  public:
    static QString resourcePath(int clip);
    // Every clip from the first to the last number; a clip missing from the build is left
    // out, so that its file is not written and playing it gives the fallback sound.
    static std::vector<voice::ClipData> load();
};

} // namespace platform
