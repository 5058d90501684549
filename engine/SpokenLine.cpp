// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SpokenLine.h"

#include "engine/ClipNumbers.h"

namespace engine {

namespace {

bool isDigitOrPoint(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// Length of the number that starts at `at`: digits and the point, then an exponent, whose
// sign belongs to the number.
std::size_t numberLength(std::string_view line, std::size_t at) {
    std::size_t end = at;
    while (end < line.size() && isDigitOrPoint(line[end])) {
        ++end;
    }
    if (end + 1 < line.size() && line[end] == 'E' &&
        (line[end + 1] == '+' || line[end + 1] == '-')) {
        end += 2;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9') {
            ++end;
        }
    }
    return end - at;
}

struct LineSymbol {
    char symbol;
    int clip;
    const char* word;
};

constexpr LineSymbol kSymbols[] = {
    {'+', kClipAdd, "加"},
    {'*', kClipMultiply, "乘"},
    {'/', kClipDivide, "除"},
    {'=', kClipEquals, "等于"},
    {'(', 0, "("},
    {')', 0, ")"},
};

// Walks the line, handing each number's text to `number` and each symbol's clip and
// word to `symbol`.
template <typename OnNumber, typename OnSymbol>
void walk(std::string_view line, OnNumber number, OnSymbol symbol) {
    char previous = '\0';
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (isDigitOrPoint(c)) {
            const std::size_t length = numberLength(line, i);
            number(std::string(line.substr(i, length)));
            i += length;
            previous = '0';
            continue;
        }
        if (c == '-') {
            const bool isSign = previous == '(' || previous == '=';
            symbol(isSign ? kClipMinus : kClipSubtract, isSign ? "负" : "减");
        } else {
            for (const LineSymbol& s : kSymbols) {
                if (s.symbol == c) {
                    symbol(s.clip, s.word);
                }
            }
        }
        previous = c;
        ++i;
    }
}

} // namespace

std::vector<int> SpokenLine::clips(std::string_view line, ReadingStyle style) {
    std::vector<int> out;
    walk(
        line,
        [&](const std::string& number) {
            const std::vector<int> said = SpokenNumber::clips(
                SpokenNumber::speechText(number, SpokenNumber::kAllDecimals), style);
            out.insert(out.end(), said.begin(), said.end());
        },
        [&](int clip, const char*) {
            if (clip != 0) {
                out.push_back(clip);
            }
        });
    return out;
}

std::string SpokenLine::words(std::string_view line) {
    std::string out;
    walk(
        line, [&](const std::string& number) { out += number; },
        [&](int, const char* word) { out += word; });
    return out;
}

} // namespace engine
