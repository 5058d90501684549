// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/UniqueFd.h"
#include "voice/VoicePack.h"

#include <memory>
#include <string>

namespace voice {

class ClipPlayer;

// Plays clips by number from the clip folder. The folder is opened and checked once, when
// it is set, and held open; clips are then opened inside it, so what is played is what
// was written there. Without a usable folder every clip is asked for by an empty name,
// which the player answers with the fallback sound: the program keeps running and the keys
// still give an audible answer. A clip of the user's voice pack is played from memory in
// place of the file.
class Voice {
  public:
    Voice(ClipPlayer& player, std::string folder);

    void playClip(int clip);
    // The sound of a refusal: the one the player gives for a clip it cannot play.
    void playFallback();
    std::string clipPath(int clip) const;

    const std::string& folder() const { return folder_; }
    void setFolder(std::string folder);
    void setPack(VoicePack pack) { pack_ = std::move(pack); }
    const VoicePack& pack() const { return pack_; }

  private:
    ClipPlayer& player_;
    std::string folder_;
    std::shared_ptr<const UniqueFd> folderFd_;
    VoicePack pack_;
};

} // namespace voice
