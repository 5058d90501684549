// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace engine {

// The calculator's working state. Numbers are text; they become doubles only for the
// moment of an evaluation.
struct CalculatorState {
    std::string operand1;
    std::string operand2;
    std::string resultText;
    int pendingOp = 0; // 0 none, 1 add, 2 subtract, 3 multiply, 4 divide
    bool operatorSet = false;
    bool resultShown = false;
    bool secondTyped = false;
    bool voiceOn = true;
    bool speaking = false;
    std::string displayText = "0";
    int keepDecimals = 0; // decimals of a shown result: 0 all, 2 or 4
    // The skin's title buttons keep their hover face until the pointer has been over one
    // since the last reset; a reset of the calculator starts that over.
    bool noTitleHover = true;
};

// Longest text a typed entry may reach; the sign and the point count.
inline constexpr std::size_t kMaxEntryLength = 12;

} // namespace engine
