// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/DisplayScale.h"

#include "settings/MainView.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace settings {

namespace {

// The window's twips are laid out at 15 to a pixel.
constexpr double kTwipsPerPixel = 15.0;
constexpr double kWidestPixels = kWideWidthTwips / kTwipsPerPixel;
constexpr double kTallestPixels = kWindowHeightTwips / kTwipsPerPixel;

// Qt draws at any factor; two decimals are more than the eye tells apart.
double downToHundredths(double factor) {
    return std::floor(factor * 100.0 + 1e-9) / 100.0;
}

} // namespace

std::optional<double> DisplayScale::parse(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || value < kSmallest ||
        value > kLargest) {
        return std::nullopt;
    }
    return value;
}

double DisplayScale::fit(double wanted, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) {
        return wanted;
    }
    const double room = std::min(screenWidth / kWidestPixels, screenHeight / kTallestPixels);
    return std::max(kSmallest, std::min(wanted, downToHundredths(room)));
}

} // namespace settings
