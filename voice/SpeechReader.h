// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace voice {

class ReadingTimer;
class Voice;

// Reads a result aloud one character per timer tick: digits, the point and a minus sign,
// each as its clip. The decimals read are cut, never rounded, to readDecimals.
//
// A result in exponent form (1E+15 and more) is read as its mantissa, the click clip as a
// separator, then the exponent's digits, so "1.5E+15" with two decimals is one, point,
// five, click, one, five, however large the number is.
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

    // Called at the tick that plays the last character; the program clears `speaking` here.
    std::function<void()> onFinished;

    const std::string& speechText() const { return speechText_; }
    int speechLen() const { return speechLen_; }
    int speechPos() const { return speechPos_; }

    static int clipForCharacter(char c);
    // The characters to read for a trimmed result text.
    static std::string speechFor(const std::string& text, int readDecimals);

  private:
    Voice& voice_;
    ReadingTimer& timer_;
    std::string speechText_;
    int speechLen_ = 0;
    int speechPos_ = 1;
};

} // namespace voice
