#include "voice/Voice.h"

#include "voice/ClipPlayer.h"

#include <utility>

namespace voice {

Voice::Voice(ClipPlayer& player, std::string folder)
    : player_(player), folder_(std::move(folder)) {}

void Voice::playClip(int clip) {
    if (auto recorded = pack_.clip(clip)) {
        player_.playSamples(std::move(recorded));
        return;
    }
    player_.play(clipPath(clip));
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
