// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace voice {

// Turns what a play asked for into samples in the stream's format. Whatever cannot be read
// or decoded becomes the fallback sound, so every play is heard.
class SoundLoader {
  public:
    using Samples = std::shared_ptr<const std::vector<std::int16_t>>;

    static Samples fromPath(const std::string& path);
    static Samples fromFolder(const ClipFile& file);
    static Samples fallback();
};

} // namespace voice
