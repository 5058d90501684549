// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/NumberText.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <system_error>

namespace engine {

int findPoint(std::string_view text) {
    const auto pos = text.find('.');
    return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

namespace {

// The C locale's numbers, shared by every thread that formats or reads one.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

} // namespace

// Read as std::from_chars reads a general number (an optional minus, no plus, no blanks, no
// hexadecimal; out of range reads as 0), by the C library's reader: from_chars would bring
// its own tables into memory at the first result.
double textToNumber(std::string_view text) {
    const std::string trimmed = trimBlanks(text);
    const std::size_t at = !trimmed.empty() && trimmed.front() == '-' ? 1 : 0;
    if (at >= trimmed.size()) {
        return 0.0;
    }
    const char first = trimmed[at];
    const bool digit = first >= '0' && first <= '9';
    if (!digit && first != '.' && first != 'i' && first != 'I' && first != 'n' && first != 'N') {
        return 0.0;
    }
    if (first == '0' && at + 1 < trimmed.size() &&
        (trimmed[at + 1] == 'x' || trimmed[at + 1] == 'X')) {
        return at == 0 ? 0.0 : -0.0;
    }
    errno = 0;
    char* end = nullptr;
    const double value = strtod_l(trimmed.c_str(), &end, cLocale());
    if (end == trimmed.c_str() || (errno == ERANGE && (value == 0.0 || std::isinf(value)))) {
        return 0.0;
    }
    return value;
}

std::string rawNumberText(double value) {
    if (value == 0.0) {
        return " 0";
    }
    // Shortest round-trip formatting is not wanted here: results are rounded to 15
    // significant digits, which hides representation errors such as 0.1 + 0.2. The digits
    // are printf's in the C locale (as std::to_chars with a precision defines them), without
    // the large tables that to_chars keeps for it: the window's locale may use a decimal
    // comma, so this thread writes in the C locale while it formats.
    char buffer[64];
    const locale_t previous = uselocale(cLocale());
    const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
    uselocale(previous);
    if (length <= 0) {
        return " 0";
    }
    std::string text(buffer, static_cast<std::size_t>(length));
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
    const bool negative = text.front() == '-';
    std::string digits = negative ? text.substr(1) : text;
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1);
    }
    return (negative ? "-" : " ") + digits;
}

std::size_t exponentPosition(std::string_view text) {
    // An exponent always follows a digit; an "E" in front is the display's overflow marker.
    const auto plus = text.find("E+", 1);
    if (plus != std::string_view::npos) {
        return plus;
    }
    return text.find("E-", 1);
}

std::string expandSmallExponent(std::string_view text) {
    const auto split = text.find("E-");
    if (split == std::string_view::npos) {
        return std::string(text);
    }
    std::string mantissa(text.substr(0, split));
    const auto point = mantissa.find('.');
    if (point != std::string::npos) {
        mantissa.erase(point, 1);
    }
    mantissa = trimBlanks(mantissa);

    int exponent = 0;
    const std::string_view digits = text.substr(split + 2);
    std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    const std::string prefix = "0." + std::string(exponent > 1 ? exponent - 1 : 0, '0');

    if (!text.empty() && text.front() == '-') {
        const auto minus = mantissa.find('-');
        if (minus != std::string::npos) {
            mantissa.replace(minus, 1, "-" + prefix);
        }
        return mantissa;
    }
    return prefix + mantissa;
}

std::string normaliseResult(std::string_view text) {
    std::string result = trimBlanks(text);
    if (findPoint(result) == 1) {
        result.insert(0, "0");
    }
    const auto negativePoint = result.find("-.");
    if (negativePoint != std::string::npos) {
        result.replace(negativePoint, 2, "-0.");
    }
    return result;
}

std::string cutDecimals(std::string_view text) {
    const auto exponent = exponentPosition(text);
    const std::string_view mantissa = text.substr(0, exponent);
    const std::string_view tail =
        exponent == std::string_view::npos ? std::string_view() : text.substr(exponent);
    const int p = findPoint(mantissa);
    if (p != 0 && static_cast<int>(mantissa.size()) >= p + 4) {
        return std::string(mantissa.substr(0, static_cast<std::size_t>(p + 4))) + std::string(tail);
    }
    return std::string(text);
}

std::string bracketNegative(std::string_view text) {
    std::string trimmed = trimBlanks(text);
    if (!trimmed.empty() && trimmed.front() == '-') {
        return "(" + trimmed + ")";
    }
    return trimmed;
}

} // namespace engine
