// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipQueue.h"

#include "voice/StreamFormat.h"

#include <algorithm>
#include <utility>

namespace voice {

namespace {

std::int64_t length(const ClipQueue::Samples& samples) {
    return samples ? static_cast<std::int64_t>(samples->size()) : 0;
}

} // namespace

bool ClipQueue::add(Samples samples, std::int64_t gapFrames) {
    const std::int64_t due = std::min(gapFrames, StreamFormat::framesFor(kMinSoundMs));
    const bool hadItsDue = !current_ || position_ + StreamFormat::framesFor(kSlackMs) >= due ||
                           position_ >= length(current_);
    if (waiting_.empty() && hadItsDue) {
        current_ = std::move(samples);
        position_ = 0;
        return true;
    }
    if (waiting_.size() == kMaxWaiting) {
        waiting_.back().samples = std::move(samples);
        return false;
    }
    waiting_.push_back({std::move(samples), due});
    return false;
}

void ClipQueue::restart(Samples samples) {
    waiting_.clear();
    current_ = std::move(samples);
    position_ = 0;
}

void ClipQueue::read(std::int16_t* out, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
        if (!waiting_.empty() && position_ >= waiting_.front().afterFrames) {
            current_ = std::move(waiting_.front().samples);
            waiting_.pop_front();
            position_ = 0;
        }
        // Up to the end of the current sound, or to where the next one takes over.
        std::int64_t run = static_cast<std::int64_t>(frames - done);
        if (!waiting_.empty()) {
            run = std::min(run, waiting_.front().afterFrames - position_);
        }
        const std::int64_t sounding =
            std::clamp<std::int64_t>(length(current_) - position_, 0, run);
        if (sounding > 0) {
            std::copy_n(current_->data() + position_, sounding, out + done);
        }
        std::fill_n(out + done + sounding, run - sounding, std::int16_t{0});
        position_ += run;
        done += static_cast<std::size_t>(run);
    }
}

std::int64_t ClipQueue::silentFrames() const {
    if (!waiting_.empty()) {
        return 0;
    }
    return std::max<std::int64_t>(0, position_ - length(current_));
}

} // namespace voice
