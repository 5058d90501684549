// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SpeechReader.h"

#include "engine/ClipNumbers.h"
#include "voice/ReadingTimer.h"
#include "voice/Voice.h"

namespace voice {

namespace {

// Stands between mantissa and exponent in the text to read; read as the click clip.
constexpr char kExponentMark = 'E';

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The integer part, and the point with at most readDecimals decimals when there are any to
// read.
std::string plainSpeech(const std::string& text, int readDecimals) {
    const auto point = text.find('.');
    if (point == std::string::npos || readDecimals <= 0) {
        return text.substr(0, point);
    }
    const std::string fraction = text.substr(point + 1);
    return text.substr(0, point) + "." + fraction.substr(0, static_cast<std::size_t>(readDecimals));
}

std::string withoutLeadingZeros(const std::string& digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

std::size_t exponentStart(const std::string& text) {
    const auto plus = text.find("E+");
    return plus != std::string::npos ? plus : text.find("E-");
}

} // namespace

SpeechReader::SpeechReader(Voice& voice, ReadingTimer& timer) : voice_(voice), timer_(timer) {}

void SpeechReader::startReading(std::string& resultText, int readDecimals) {
    speechText_.clear();
    resultText = trimBlanks(resultText);
    speechText_ = trimBlanks(speechFor(resultText, readDecimals));
    speechLen_ = static_cast<int>(speechText_.size());
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
    const char c = index < speechText_.size() ? speechText_[index] : '\0';
    voice_.playClip(clipForCharacter(c));
    ++speechPos_;
    if (speechPos_ > speechLen_) {
        timer_.stop();
        if (onFinished) {
            onFinished();
        }
    }
}

int SpeechReader::clipForCharacter(char c) {
    if (c >= '1' && c <= '9') {
        return engine::digitClip(c - '0');
    }
    switch (c) {
    case '.':
        return engine::kClipPoint;
    case '-':
        return engine::kClipMinus;
    case kExponentMark:
        return engine::kClipClick;
    default:
        return engine::kClipZero;
    }
}

std::string SpeechReader::speechFor(const std::string& text, int readDecimals) {
    const std::size_t mark = exponentStart(text);
    if (mark == std::string::npos) {
        return plainSpeech(text, readDecimals);
    }
    const std::string mantissa = plainSpeech(text.substr(0, mark), readDecimals);
    const bool negative = text[mark + 1] == '-';
    const std::string exponent = withoutLeadingZeros(text.substr(mark + 2));
    return mantissa + kExponentMark + (negative ? "-" : "") + exponent;
}

} // namespace voice
