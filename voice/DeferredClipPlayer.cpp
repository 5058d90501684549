// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/DeferredClipPlayer.h"

#include <utility>

namespace voice {

DeferredClipPlayer::DeferredClipPlayer(std::function<std::unique_ptr<ClipPlayer>()> make)
    : make_(std::move(make)) {}

DeferredClipPlayer::~DeferredClipPlayer() {
    if (maker_.joinable()) {
        maker_.join();
    }
}

void DeferredClipPlayer::play(const std::string& path) {
    forward([path](ClipPlayer& player) { player.play(path); });
}

void DeferredClipPlayer::playFile(const ClipFile& file) {
    forward([file](ClipPlayer& player) { player.playFile(file); });
}

void DeferredClipPlayer::playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) {
    forward([samples = std::move(samples)](ClipPlayer& player) { player.playSamples(samples); });
}

void DeferredClipPlayer::forward(Call call) {
    ClipPlayer* ready = nullptr;
    {
        const std::lock_guard lock(mutex_);
        ready = player_.get();
        if (ready == nullptr) {
            waiting_.push_back(std::move(call));
            if (!maker_.joinable()) {
                maker_ = std::thread([this] {
                    std::unique_ptr<ClipPlayer> made = make_();
                    const std::lock_guard lock(mutex_);
                    // Under the lock, so that no later play overtakes these.
                    for (const Call& waiting : waiting_) {
                        waiting(*made);
                    }
                    waiting_.clear();
                    player_ = std::move(made);
                });
            }
            return;
        }
    }
    // A play only queues its request, and the player is never replaced once made.
    call(*ready);
}

} // namespace voice
