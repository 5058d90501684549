// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Calculator.h"

#include <cmath>
#include <cstdlib>

#include "engine/ClipNumbers.h"
#include "engine/NumberText.h"

namespace engine {
namespace {

constexpr int kEqualsIndex = 4;
constexpr int kPointIndex = 10;
constexpr int kZeroIndex = 9;
constexpr int kClearIndex = 0;
constexpr int kBackspaceIndex = 1;
constexpr int kOptionsIndex = 2;

constexpr const char* kOperatorSymbols[] = {"", "+", "-", "*", "/"};

int operandWidth(const std::string& text) {
    if (findPoint(text) == 0) {
        return static_cast<int>(text.size());
    }
    const double value = textToNumber(text);
    if (std::fabs(value) >= 1.0) {
        return findPoint(text) - (value < 0 ? 1 : 0);
    }
    return -1;
}

std::string recordOperand(const std::string& text) {
    return bracketNegative(cutDecimals(text));
}

} // namespace

Calculator::Calculator(CalculatorEvents& events) : events_(events) {}

std::string& Calculator::target() {
    return state_.operatorSet ? state_.operand2 : state_.operand1;
}

bool Calculator::lengthGateOpen() const {
    const std::string& entry = state_.operatorSet ? state_.operand2 : state_.operand1;
    return entry.size() < kMaxEntryLength;
}

void Calculator::play(int clip) {
    if (state_.voiceOn) {
        events_.playClip(clip);
    }
}

void Calculator::press(Key key) {
    const KeyInfo& info = keyInfo(key);
    switch (info.group) {
    case KeyGroup::Digits:
        pressDigitOrPoint(info.index);
        break;
    case KeyGroup::Signs:
        pressSign();
        break;
    case KeyGroup::Controls:
        pressControl(info.index);
        break;
    case KeyGroup::Operators:
        pressOperator(info.index);
        break;
    }
}

void Calculator::typeCharacter(int code) {
    if (!keyboardOn_) {
        return;
    }
    const KeyInfo* info = keyForCharacter(code);
    if (info == nullptr) {
        return;
    }
    // Enter and "=" go straight to equals, as the equals key itself does. While a reading
    // holds the keys they wait too: a reading of an entry leaves a calculation to finish.
    if (info->key == Key::Equals) {
        if (!state_.speaking) {
            pressEquals();
        }
    } else {
        press(info->key);
    }
}

void Calculator::pressDigitOrPoint(int index) {
    if (state_.speaking || !lengthGateOpen() || index < 0 || index > kPointIndex) {
        return;
    }
    std::string& entry = target();
    int clip = 0;
    if (index < kZeroIndex) {
        entry += static_cast<char>('1' + index);
        clip = digitClip(index + 1);
    } else if (index == kZeroIndex) {
        if (entry.empty()) {
            // A leading zero is shown and voiced but never stored.
            state_.displayText = "0";
            showDisplay();
            play(kClipZero);
            return;
        }
        entry += '0';
        clip = kClipZero;
    } else {
        if (findPoint(entry) != 0) {
            return;
        }
        entry += entry.empty() ? "0." : ".";
        clip = kClipPoint;
    }
    showNewEntry(entry);
    play(clip);
}

void Calculator::showNewEntry(const std::string& entry) {
    state_.resultShown = false;
    state_.resultText.clear();
    if (!state_.operand2.empty()) {
        state_.secondTyped = true;
    }
    state_.displayText = entry;
    showDisplay();
}

void Calculator::pressSign() {
    if (state_.speaking || !lengthGateOpen()) {
        return;
    }
    std::string& entry = target();
    if (entry.empty()) {
        return;
    }
    entry = trimBlanks(entry);
    if (!entry.empty() && entry.front() == '-') {
        std::erase(entry, '-');
    } else {
        entry.insert(0, "-");
        play(kClipMinus);
    }
    state_.displayText = entry;
    showDisplay();
}

void Calculator::pressControl(int index) {
    if (state_.speaking) {
        return;
    }
    switch (index) {
    case kClearIndex:
        resetCalculator();
        play(kClipClear);
        break;
    case kBackspaceIndex: {
        if (state_.resultShown || (state_.operatorSet && !state_.secondTyped)) {
            return;
        }
        std::string& entry = target();
        if (!entry.empty()) {
            entry.pop_back();
        }
        if (!entry.empty() && entry != "-") {
            state_.displayText = entry;
        } else {
            entry.clear();
            state_.displayText = "0";
        }
        play(kClipClick);
        showDisplay();
        break;
    }
    case kOptionsIndex:
        events_.popupOptionsMenu();
        break;
    default:
        break;
    }
}

void Calculator::pressOperator(int index) {
    if (state_.speaking || index < 0 || index > kEqualsIndex) {
        return;
    }
    if (index == kEqualsIndex) {
        pressEquals();
        return;
    }
    if (!state_.operand1.empty() && !state_.operand2.empty()) {
        chainOperator();
    }
    if (state_.operatorSet) {
        return;
    }
    if (state_.resultShown) {
        state_.operand1 = state_.resultText;
        state_.resultShown = false;
    }
    state_.pendingOp = index + 1;
    state_.operatorSet = true;
    state_.resultShown = false;
    state_.resultText.clear();
    play(kClipAdd + index);
}

void Calculator::pressEquals() {
    if (!state_.operatorSet || state_.resultShown) {
        return;
    }
    // A zero divisor, and an empty second operand, are ignored without a word.
    if (textToNumber(state_.operand2) == 0.0) {
        return;
    }
    double result = 0.0;
    if (!evaluate(false, result)) {
        return;
    }
    finishResult(result);
    state_.operand1.clear();
    state_.operand2.clear();
    state_.pendingOp = 0;
    state_.operatorSet = false;
    state_.resultShown = true;
    state_.displayText = state_.resultText;
    showDisplay();
    if (state_.voiceOn) {
        events_.playClip(kClipEquals);
        state_.speaking = true;
        events_.startReading(state_.resultText);
    }
}

bool Calculator::chainOperator() {
    double result = 0.0;
    if (!evaluate(true, result)) {
        return false;
    }
    finishResult(result);
    state_.operand1.clear();
    state_.operand2.clear();
    state_.pendingOp = 0;
    state_.displayText = state_.resultText;
    state_.operatorSet = false;
    state_.resultShown = true;
    showDisplay();
    return true;
}

bool Calculator::evaluate(bool testZeroDivisor, double& result) {
    const double a = textToNumber(state_.operand1);
    const double b = textToNumber(state_.operand2);
    switch (state_.pendingOp) {
    case 1:
        result = a + b;
        break;
    case 2:
        result = a - b;
        break;
    case 3:
        if (yicu(state_.operand1, state_.operand2) >= 12) {
            events_.showNotice(kOverflowNotice);
            return false;
        }
        result = a * b;
        break;
    case 4:
        if (testZeroDivisor && b == 0.0) {
            events_.showNotice(kZeroDivisorNotice);
            return false;
        }
        result = a / b;
        break;
    default:
        return false;
    }
    // Results already in exponent form can be multiplied past the range of a double;
    // "inf" is no number to show, record or read.
    if (!std::isfinite(result)) {
        events_.showNotice(kOverflowNotice);
        return false;
    }
    return true;
}

void Calculator::finishResult(double result) {
    state_.secondTyped = false;
    std::string text = rawNumberText(result);
    if (text.find("E-") != std::string::npos) {
        text = expandSmallExponent(text);
    }
    state_.resultText = normaliseResult(text);
    events_.recordCalculation(buildRecordLine());
}

std::string Calculator::buildRecordLine() const {
    return recordOperand(state_.operand1) + kOperatorSymbols[state_.pendingOp] +
           recordOperand(state_.operand2) + "=" + cutDecimals(state_.resultText);
}

bool Calculator::atNewNumber() const {
    const std::string& entry = state_.operatorSet ? state_.operand2 : state_.operand1;
    return !state_.speaking && entry.empty();
}

bool Calculator::enterNumber(const std::string& entry) {
    if (!atNewNumber() || entry.size() > kMaxEntryLength) {
        return false;
    }
    if (entry.empty()) {
        // Like the "0" key on an empty entry: shown, never stored.
        state_.displayText = "0";
        showDisplay();
        return true;
    }
    target() = entry;
    showNewEntry(entry);
    return true;
}

std::string Calculator::shownNumber() const {
    return state_.resultShown ? engine::shownNumber(state_.resultText, true, state_.keepDecimals)
                              : engine::shownNumber(state_.displayText, false, state_.keepDecimals);
}

void Calculator::resetCalculator() {
    state_.pendingOp = 0;
    state_.operand1.clear();
    state_.operand2.clear();
    state_.resultText.clear();
    state_.operatorSet = false;
    state_.resultShown = false;
    state_.noTitleHover = true;
    state_.speaking = false;
    state_.secondTyped = false;
    state_.displayText = "0";
    showDisplay();
}

void Calculator::showDisplay() {
    DisplayLayout layout =
        layoutDisplay(state_.displayText, state_.resultShown, state_.keepDecimals);
    state_.displayText = layout.text;
    events_.displayChanged(layout);
}

int Calculator::yicu(const std::string& t1, const std::string& t2) {
    if (textToNumber(t1) == 0.0 || textToNumber(t2) == 0.0) {
        return 0;
    }
    return operandWidth(t1) + operandWidth(t2);
}

} // namespace engine
