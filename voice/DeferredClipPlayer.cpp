#include "voice/DeferredClipPlayer.h"

#include <utility>

namespace voice {

DeferredClipPlayer::DeferredClipPlayer(std::function<std::unique_ptr<ClipPlayer>()> make)
    : make_(std::move(make)) {}

void DeferredClipPlayer::play(const std::string& path) {
    player().play(path);
}

void DeferredClipPlayer::playFile(const ClipFile& file) {
    player().playFile(file);
}

void DeferredClipPlayer::playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) {
    player().playSamples(std::move(samples));
}

ClipPlayer& DeferredClipPlayer::player() {
    if (!player_) {
        player_ = make_();
    }
    return *player_;
}

} // namespace voice
