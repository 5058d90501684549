// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voice {

// One clip as carried inside the program: its number and the complete WAV file.
struct ClipData {
    int number = 0;
    std::vector<std::uint8_t> bytes;
};

// Writes the clip files <n>.wav into a folder, byte for byte as carried.
//
// Each file is written to a fresh temporary name in the same folder and then renamed to the
// clip's name, so a longer stale file can never keep a tail and a link planted at a clip's
// name is replaced, not followed. The folder itself is opened without following
// links and checked again (ClipFolder::checkOpenFolder) before anything is written.
class ClipExtractor {
  public:
    explicit ClipExtractor(std::string folder);

    // True when every clip was written. A clip that fails leaves no temporary file behind
    // and does not stop the others.
    bool extract(const std::vector<ClipData>& clips) const;

  private:
    bool writeClip(int dirFd, const ClipData& clip) const;

    std::string folder_;
};

inline bool extractClips(const std::string& folder, const std::vector<ClipData>& clips) {
    return ClipExtractor(folder).extract(clips);
}

} // namespace voice
