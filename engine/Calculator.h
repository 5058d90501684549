// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine/CalculatorEvents.h"
#include "engine/CalculatorState.h"
#include "engine/KeyTable.h"

namespace engine {

inline constexpr const char* kOverflowNotice = "数据太大，会溢出";
inline constexpr const char* kZeroDivisorNotice = "除数不能是零";

// The keys of the calculator and the evaluation behind them. Clicks and typed characters
// take the same path, so sound and display can never drift apart.
class Calculator {
  public:
    explicit Calculator(CalculatorEvents& events);

    const CalculatorState& state() const { return state_; }

    // A click on a key of the keypad.
    void press(Key key);
    // A typed character; ignored while keyboard input is switched off.
    void typeCharacter(int code);

    void pressDigitOrPoint(int index);
    void pressSign();
    void pressControl(int index);
    void pressOperator(int index);
    void pressEquals();
    void resetCalculator();
    void showDisplay();

    void setVoiceOn(bool on) { state_.voiceOn = on; }
    void setKeepDecimals(int decimals) { state_.keepDecimals = decimals; }
    void setKeyboardOn(bool on) { keyboardOn_ = on; }
    bool keyboardOn() const { return keyboardOn_; }
    void setNoTitleHover(bool value) { state_.noTitleHover = value; }
    // A reading holds the keys from its start until its last character has been played.
    void beginSpeaking() { state_.speaking = true; }
    void finishSpeaking() { state_.speaking = false; }

    // A new number may start: an empty entry, after an operator, or after a result.
    bool atNewNumber() const;
    // Puts a whole entry in place, silently, as if its characters had been typed there.
    // Refused (false) unless a new number may start.
    bool enterNumber(const std::string& entry);
    // The number on the display, as it is copied out.
    std::string shownNumber() const;

    // Overflow estimate for multiplying two operand texts; 12 or more is refused.
    static int yicu(const std::string& t1, const std::string& t2);

  private:
    std::string& target();
    bool lengthGateOpen() const;
    void play(int clip);
    // A digit or point has gone into the entry: it replaces any result on the display.
    void showNewEntry(const std::string& entry);
    bool chainOperator();
    bool evaluate(bool testZeroDivisor, double& result);
    void finishResult(double result);
    std::string buildRecordLine() const;

    CalculatorEvents& events_;
    CalculatorState state_;
    bool keyboardOn_ = true;
};

} // namespace engine
