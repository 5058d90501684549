// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace settings {

// Large print: the whole program drawn at a factor, with the double-size artwork.
class DisplayScale {
  public:
    static constexpr double kSmallest = 1.0;
    static constexpr double kLargest = 4.0;

    // The value of --scale: a plain decimal number from 1 to 4 ("2", "1.5"); nothing for
    // anything else.
    static std::optional<double> parse(std::string_view text);

    // The largest factor, up to `wanted`, at which the widest window (the record panel
    // open) fits a screen area of the given size in screen pixels; never below 1, which is
    // what the window is at anyway.
    static double fit(double wanted, int screenWidth, int screenHeight);
};

} // namespace settings
