// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// How the display shows a number: the text after its cuts and marker, and where it is
// drawn. Every character is given the same 243-twip slot, so the text is right-aligned by
// counting characters rather than by measuring a font.
namespace engine {

struct DisplayLayout {
    std::string text;
    int xTwips = 0;
    int yTwips = 0;

    bool operator==(const DisplayLayout&) const = default;
};

inline constexpr int kDisplayAdvanceTwips = 243;
inline constexpr int kDisplaySlots = 14;
inline constexpr int kDisplayTopTwips = 170;

// Shortens a shown result to keepDecimals (0 keeps all), keeps an exponent visible, adds
// the "E" marker to an integer part too long for the box, and places the text.
DisplayLayout layoutDisplay(const std::string& displayText, bool resultShown, int keepDecimals);

// The number the display stands for, as text to hand on: a result's decimals cut as shown,
// but neither the overflow marker nor the cut that fits an exponent form into the box.
std::string shownNumber(const std::string& displayText, bool resultShown, int keepDecimals);

} // namespace engine
