// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/PackLoader.h"

#include <utility>

namespace voice {

PackLoader::PackLoader(std::string folder, VoicePack::Report report)
    : thread_([this, folder = std::move(folder),
               report = std::move(report)](const std::stop_token& stop) {
          pack_ = VoicePack::load(folder, report, stop);
          done_.store(true, std::memory_order_release);
      }) {}

std::optional<VoicePack> PackLoader::take() {
    if (taken_ || !done_.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    taken_ = true;
    return std::move(pack_);
}

} // namespace voice
