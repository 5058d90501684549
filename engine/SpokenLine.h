// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SpokenNumber.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A record line ("12+3.5=15.5", "(-2)*3=-6") read back whole, as it is written: its numbers
// in full in the chosen style, its operators and "=" as their keys' clips, brackets silent.
// A "-" right after "(" or "=" is a number's sign; any other is the subtract operator.
class SpokenLine {
  public:
    static std::vector<int> clips(std::string_view line, ReadingStyle style);
    // The same line for a screen reader, the operators as words: "(负2)乘3等于负6".
    static std::string words(std::string_view line);
};

} // namespace engine
