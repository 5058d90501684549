// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine/DisplayLayout.h"

namespace engine {

// Everything the calculator asks of the rest of the program. The window, the voice and the
// record implement it; tests record it.
class CalculatorEvents {
  public:
    virtual ~CalculatorEvents() = default;

    virtual void displayChanged(const DisplayLayout& layout) = 0;
    virtual void playClip(int clip) = 0;
    // A finished calculation, as its record line; kept only while the record is on.
    virtual void recordCalculation(const std::string& line) = 0;
    // A refusal the user must acknowledge ("数据太大，会溢出", "除数不能是零").
    virtual void showNotice(const std::string& text) = 0;
    // Read the result aloud; the calculator stays locked until finishSpeaking().
    virtual void startReading(const std::string& resultText) = 0;
    virtual void popupOptionsMenu() = 0;
};

} // namespace engine
