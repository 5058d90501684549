// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SpokenNumber.h"

#include "engine/ClipNumbers.h"

#include <array>

namespace engine {

namespace {

std::string plainSpeech(const std::string& text, int decimals) {
    const auto point = text.find('.');
    if (point == std::string::npos || decimals <= 0) {
        return text.substr(0, point);
    }
    const std::string fraction = text.substr(point + 1);
    return text.substr(0, point) + "." + fraction.substr(0, static_cast<std::size_t>(decimals));
}

std::string withoutLeadingZeros(const std::string& digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

std::size_t exponentStart(const std::string& text) {
    const auto plus = text.find("E+");
    return plus != std::string::npos ? plus : text.find("E-");
}

// Says whole numbers as amounts. The integer is cut from the right into groups of four
// digits; the lowest takes no unit and the next 万. What lies above those eight digits is
// said as one count of 亿, with its own 万, and 亿 once after it: 10^12 is 一万亿.
class AmountReader {
  public:
    explicit AmountReader(std::vector<int>& out) : out_(out) {}

    void integer(std::string_view digits) {
        const auto first = digits.find_first_not_of('0');
        if (first == std::string_view::npos) {
            out_.push_back(kClipZero);
            return;
        }
        digits.remove_prefix(first);
        constexpr std::size_t kBelowYi = 8;
        if (digits.size() > kBelowYi) {
            belowYi(digits.substr(0, digits.size() - kBelowYi));
            out_.push_back(kClipHundredMillion);
            digits.remove_prefix(digits.size() - kBelowYi);
        }
        belowYi(digits);
    }

  private:
    // At most eight digits: a group with 万, then one without.
    void belowYi(std::string_view digits) {
        const std::size_t split = digits.size() > 4 ? digits.size() - 4 : 0;
        if (split > 0) {
            group(digits.substr(0, split), kClipTenThousand);
        }
        group(digits.substr(split), 0);
    }

    void group(std::string_view digits, int unit) {
        if (digits.find_first_not_of('0') == std::string_view::npos) {
            // Silent; a 零 stands in for it if a lower group is said.
            zeroPending_ = zeroPending_ || started_;
            return;
        }
        static constexpr std::array<int, 4> kInGroup = {0, kClipTen, kClipHundred, kClipThousand};
        bool zeroRun = false;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const int digit = digits[i] - '0';
            const int place = kInGroup[digits.size() - 1 - i];
            if (digit == 0) {
                // Leading zeros of a group after a higher one say one 零, as do zeros between
                // digits; trailing zeros say nothing.
                zeroRun = true;
                continue;
            }
            if (zeroRun && started_) {
                zeroPending_ = true;
            }
            zeroRun = false;
            if (zeroPending_) {
                out_.push_back(kClipZero);
                zeroPending_ = false;
            }
            // 十五, 十万: a number that begins with 1 in a tens place says 十 alone.
            if (!(digit == 1 && place == kClipTen && !started_)) {
                out_.push_back(digitClip(digit));
            }
            if (place != 0) {
                out_.push_back(place);
            }
            started_ = true;
        }
        if (unit != 0) {
            out_.push_back(unit);
        }
    }

    std::vector<int>& out_;
    bool started_ = false;
    bool zeroPending_ = false;
};

} // namespace

std::string SpokenNumber::speechText(const std::string& number, int decimals) {
    const std::size_t mark = exponentStart(number);
    if (mark == std::string::npos) {
        return plainSpeech(number, decimals);
    }
    const std::string mantissa = plainSpeech(number.substr(0, mark), decimals);
    const bool negative = number[mark + 1] == '-';
    const std::string exponent = withoutLeadingZeros(number.substr(mark + 2));
    return mantissa + kExponentMark + (negative ? "-" : "") + exponent;
}

int SpokenNumber::characterClip(char c) {
    if (c >= '1' && c <= '9') {
        return digitClip(c - '0');
    }
    switch (c) {
    case '.':
        return kClipPoint;
    case '-':
        return kClipMinus;
    case kExponentMark:
        return kClipClick;
    default:
        return kClipZero;
    }
}

std::vector<int> SpokenNumber::clips(const std::string& speech, ReadingStyle style) {
    if (style == ReadingStyle::PlaceUnits && speech.find(kExponentMark) == std::string::npos) {
        return placeUnits(speech);
    }
    std::vector<int> out;
    out.reserve(speech.size());
    for (const char c : speech) {
        out.push_back(characterClip(c));
    }
    return out;
}

std::vector<int> SpokenNumber::placeUnits(std::string_view plain) {
    std::vector<int> out;
    if (!plain.empty() && plain.front() == '-') {
        out.push_back(kClipMinus);
        plain.remove_prefix(1);
    }
    const auto point = plain.find('.');
    AmountReader(out).integer(plain.substr(0, point));
    if (point != std::string_view::npos) {
        out.push_back(kClipPoint);
        for (const char c : plain.substr(point + 1)) {
            out.push_back(characterClip(c));
        }
    }
    return out;
}

} // namespace engine
