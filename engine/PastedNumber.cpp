// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PastedNumber.h"

#include <algorithm>
#include <array>

#include "engine/CalculatorState.h"

namespace engine {
namespace {

// UTF-8 of the full-width forms: U+FF10..U+FF19 are EF BC 90..99, U+FF0E is EF BC 8E.
constexpr unsigned char kWideLead = 0xEF;
constexpr unsigned char kWideSecond = 0xBC;
constexpr unsigned char kWideZero = 0x90;
constexpr unsigned char kWidePoint = 0x8E;

// Spaces a copied number may carry at its ends: ASCII, no-break (U+00A0) and ideographic
// (U+3000).
constexpr std::array<std::string_view, 8> kSpaces = {" ",  "\t", "\r",       "\n",
                                                     "\f", "\v", "\xC2\xA0", "\xE3\x80\x80"};

std::string_view trimSpaces(std::string_view text) {
    bool trimmed = true;
    while (trimmed && !text.empty()) {
        trimmed = false;
        for (std::string_view space : kSpaces) {
            if (text.starts_with(space)) {
                text.remove_prefix(space.size());
                trimmed = true;
            }
            if (text.ends_with(space)) {
                text.remove_suffix(space.size());
                trimmed = true;
            }
        }
    }
    return text;
}

// The text with full-width digits and point folded to ASCII; nothing when any character is
// neither a digit, a point, a comma nor a minus sign.
std::optional<std::string> foldToAscii(std::string_view text) {
    std::string ascii;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-') {
            ascii += static_cast<char>(c);
            continue;
        }
        if (c != kWideLead || i + 2 >= text.size() ||
            static_cast<unsigned char>(text[i + 1]) != kWideSecond) {
            return std::nullopt;
        }
        const auto last = static_cast<unsigned char>(text[i + 2]);
        if (last >= kWideZero && last <= kWideZero + 9) {
            ascii += static_cast<char>('0' + (last - kWideZero));
        } else if (last == kWidePoint) {
            ascii += '.';
        } else {
            return std::nullopt;
        }
        i += 2;
    }
    return ascii;
}

bool allDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Digits, with commas allowed only between groups of three: "1,234,567" but not "1,5" or
// "1234,567". The commas are dropped from the result.
std::optional<std::string> integerDigits(std::string_view text) {
    if (text.find(',') == std::string_view::npos) {
        return allDigits(text) ? std::optional<std::string>(text) : std::nullopt;
    }
    std::string digits;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t comma = text.find(',', start);
        const std::string_view group = text.substr(start, comma - start);
        const bool sized = first ? !group.empty() && group.size() <= 3 : group.size() == 3;
        if (!sized || !allDigits(group)) {
            return std::nullopt;
        }
        digits += group;
        if (comma == std::string_view::npos) {
            return digits;
        }
        start = comma + 1;
    }
}

} // namespace

std::optional<std::string> pastedEntry(std::string_view text) {
    const std::optional<std::string> ascii = foldToAscii(trimSpaces(text));
    if (!ascii) {
        return std::nullopt;
    }
    std::string_view number = *ascii;
    const bool negative = number.starts_with('-');
    if (negative) {
        number.remove_prefix(1);
    }
    const std::size_t point = number.find('.');
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    const std::optional<std::string> integer = integerDigits(number.substr(0, point));
    if (!integer || !allDigits(fraction) || integer->size() + fraction.size() == 0) {
        return std::nullopt;
    }
    const bool hasPoint = point != std::string_view::npos;
    if ((negative ? 1 : 0) + integer->size() + (hasPoint ? 1 : 0) + fraction.size() >
        kMaxEntryLength) {
        return std::nullopt;
    }

    // Typed, a zero on an empty entry is not stored and a point there becomes "0.".
    std::string entry = integer->substr(std::min(integer->find_first_not_of('0'), integer->size()));
    if (hasPoint) {
        entry += entry.empty() ? "0." : ".";
        entry += fraction;
    }
    if (negative && !entry.empty()) {
        entry.insert(0, "-");
    }
    if (entry.size() > kMaxEntryLength) {
        return std::nullopt;
    }
    return entry;
}

} // namespace engine
