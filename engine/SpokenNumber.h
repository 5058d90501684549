// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// How a number is said: digit by digit (一二三四五), or as an amount with its place units
// (一万二千三百四十五). Stored as these codes.
enum class ReadingStyle { Digits = 1, PlaceUnits = 2 };

// A number as the clips that say it, one clip per reading step.
class SpokenNumber {
  public:
    // Stands between mantissa and exponent in a text to speak; said as the click clip.
    static constexpr char kExponentMark = 'E';
    // Every decimal of a number is read.
    static constexpr int kAllDecimals = 1 << 20;

    // The characters to say for a trimmed number text: the integer part, and the point with
    // at most `decimals` decimals when there are any to read. An exponent form becomes its
    // mantissa, the mark and the exponent without its plus sign or leading zeros, so
    // "1.5E+15" with two decimals is "1.5E15".
    static std::string speechText(const std::string& number, int decimals);
    // The clip of one character of a speech text; anything unknown is said as 0.
    static int characterClip(char c);
    // The clips of a speech text in a style. Exponent forms are always read digit by digit.
    static std::vector<int> clips(const std::string& speech, ReadingStyle style);
    // "-12345.07" as 负 一 万 二 千 三 百 四 十 五 点 零 七.
    static std::vector<int> placeUnits(std::string_view plain);
};

} // namespace engine
