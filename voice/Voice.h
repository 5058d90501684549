// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/PackLoader.h"
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
    // Converts the pack in a folder in the background; the built-in clips speak meanwhile.
    void loadPack(std::string folder) { loader_ = std::make_unique<PackLoader>(std::move(folder)); }
    // The pack loaded in the background takes over if it is whole; never waits for it. The
    // caller asks between readings, never within one.
    void takeLoadedPack();
    const VoicePack& pack() const { return pack_; }

  private:
    ClipPlayer& player_;
    std::string folder_;
    std::shared_ptr<const UniqueFd> folderFd_;
    VoicePack pack_;
    std::unique_ptr<PackLoader> loader_;
};

} // namespace voice
