// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SpeechReader.h"

#include "engine/NumberText.h"

#include "voice/ReadingTimer.h"
#include "voice/Voice.h"

#include <utility>

namespace voice {

SpeechReader::SpeechReader(Voice& voice, ReadingTimer& timer) : voice_(voice), timer_(timer) {}

void SpeechReader::startReading(std::string& resultText, int readDecimals) {
    speechText_.clear();
    resultText = engine::trimBlanks(resultText);
    speechText_ = engine::trimBlanks(speechFor(resultText, readDecimals));
    clips_ = engine::SpokenNumber::clips(speechText_, style_);
    reviewing_ = false;
    speechLen_ = static_cast<int>(clips_.size());
    speechPos_ = 1;
    timer_.start(kTimer1IntervalMs);
}

void SpeechReader::readNow(const std::string& text, int readDecimals) {
    std::string trimmed = text;
    startReading(trimmed, readDecimals);
    tick();
}

void SpeechReader::tick() {
    if (!timer_.active()) {
        return;
    }
    const auto index = static_cast<std::size_t>(speechPos_ - 1);
    // An empty text is said as 0.
    voice_.playClip(index < clips_.size() ? clips_[index] : clipForCharacter('\0'));
    ++speechPos_;
    if (speechPos_ > speechLen_) {
        timer_.stop();
        const bool reviewed = std::exchange(reviewing_, false);
        if (!reviewed && onFinished) {
            onFinished();
        }
    }
}

void SpeechReader::review(std::vector<int> clips) {
    if (clips.empty()) {
        return;
    }
    speechText_.clear();
    clips_ = std::move(clips);
    reviewing_ = true;
    speechLen_ = static_cast<int>(clips_.size());
    speechPos_ = 1;
    timer_.start(kTimer1IntervalMs);
    tick();
}

void SpeechReader::stopReview() {
    if (reviewing_) {
        reviewing_ = false;
        timer_.stop();
    }
}

int SpeechReader::clipForCharacter(char c) {
    return engine::SpokenNumber::characterClip(c);
}

std::string SpeechReader::speechFor(const std::string& text, int readDecimals) {
    return engine::SpokenNumber::speechText(text, readDecimals);
}

} // namespace voice
