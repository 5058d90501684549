// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SpokenNumber.h"

#include <functional>
#include <string>
#include <vector>

namespace voice {

class ReadingTimer;
class Voice;

// Reads a result aloud one character per timer tick: digits, the point and a minus sign,
// each as its clip. The decimals read are cut, never rounded, to readDecimals.
//
// A result in exponent form (1E+15 and more) is read as its mantissa, the click clip as a
// separator, then the exponent's digits, so "1.5E+15" with two decimals is one, point,
// five, click, one, five, however large the number is. In the place-unit style a plain
// number is said as an amount instead.
//
// A review reading (a record line said again) runs on the same steps but holds no key: the
// user's next action stops it.
class SpeechReader {
  public:
    static constexpr int kTimer1IntervalMs = 450;

    SpeechReader(Voice& voice, ReadingTimer& timer);

    // Trims resultText in place (the caller keeps the trimmed text) and starts the timer.
    void startReading(std::string& resultText, int readDecimals);
    // Reads a text the same way, its first character at once rather than a step later.
    void readNow(const std::string& text, int readDecimals);
    // One step of Timer1: plays the next character; after the last one stops the timer and
    // calls onFinished.
    void tick();
    // Says the clips, the first at once. Ends without onFinished.
    void review(std::vector<int> clips);
    // Ends a review reading at once; a reading of a result goes on.
    void stopReview();
    bool reviewing() const { return reviewing_; }

    void setStyle(engine::ReadingStyle style) { style_ = style; }
    engine::ReadingStyle style() const { return style_; }

    // Called at the tick that plays the last character; the program clears `speaking` here.
    std::function<void()> onFinished;

    const std::string& speechText() const { return speechText_; }
    // The number of steps: the characters of speechText, or fewer clips said as an amount.
    int speechLen() const { return speechLen_; }
    int speechPos() const { return speechPos_; }

    static int clipForCharacter(char c);
    // The characters to read for a trimmed result text.
    static std::string speechFor(const std::string& text, int readDecimals);

  private:
    Voice& voice_;
    ReadingTimer& timer_;
    engine::ReadingStyle style_ = engine::ReadingStyle::Digits;
    std::string speechText_;
    std::vector<int> clips_;
    bool reviewing_ = false;
    int speechLen_ = 0;
    int speechPos_ = 1;
};

} // namespace voice
