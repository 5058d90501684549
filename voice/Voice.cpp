// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/Voice.h"

#include "voice/ClipFolder.h"
#include "voice/ClipPlayer.h"

#include <utility>

namespace voice {

Voice::Voice(ClipPlayer& player, std::string folder) : player_(player) {
    setFolder(std::move(folder));
}

void Voice::setFolder(std::string folder) {
    folder_ = std::move(folder);
    folderFd_ = std::make_shared<const UniqueFd>(ClipFolder::openChecked(folder_));
}

void Voice::playClip(int clip) {
    if (auto recorded = pack_.clip(clip)) {
        player_.playSamples(std::move(recorded));
        return;
    }
    if (folder_.empty()) {
        player_.play({});
        return;
    }
    player_.playFile({folderFd_, std::to_string(clip) + ".wav", clipPath(clip)});
}

void Voice::takeLoadedPack() {
    if (!loader_) {
        return;
    }
    if (std::optional<VoicePack> loaded = loader_->take()) {
        pack_ = std::move(*loaded);
        loader_.reset();
    }
}

void Voice::playFallback() {
    player_.play(std::string());
}

std::string Voice::clipPath(int clip) const {
    if (folder_.empty()) {
        return {};
    }
    return folder_ + "/" + std::to_string(clip) + ".wav";
}

} // namespace voice
