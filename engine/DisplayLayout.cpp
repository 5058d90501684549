// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DisplayLayout.h"

#include "engine/NumberText.h"

namespace engine {
namespace {

int widthLimit(const std::string& text) {
    return !text.empty() && text.front() == '-' ? kDisplaySlots : kDisplaySlots - 1;
}

std::string cutShownDecimals(const std::string& text, int keepDecimals) {
    const auto exponent = exponentPosition(text);
    std::string mantissa = text.substr(0, exponent);
    const std::string tail = exponent == std::string::npos ? std::string() : text.substr(exponent);
    const int p = findPoint(mantissa);
    if (p != 0 && static_cast<int>(mantissa.size()) >= p + keepDecimals) {
        mantissa.resize(static_cast<std::size_t>(p + keepDecimals));
    }
    return mantissa + tail;
}

// An exponent is the size of the number; it must never run off the box. The mantissa gives
// way instead, digits dropped from its end.
std::string fitExponentForm(const std::string& text) {
    const auto exponent = exponentPosition(text);
    if (exponent == std::string::npos) {
        return text;
    }
    const int limit = widthLimit(text);
    if (static_cast<int>(text.size()) <= limit) {
        return text;
    }
    const std::string tail = text.substr(exponent);
    const int room = limit - static_cast<int>(tail.size());
    std::string mantissa = text.substr(0, exponent);
    if (room > 0 && static_cast<int>(mantissa.size()) > room) {
        mantissa.resize(static_cast<std::size_t>(room));
    }
    if (!mantissa.empty() && mantissa.back() == '.') {
        mantissa.pop_back();
    }
    return mantissa + tail;
}

std::string withKeptDecimals(const std::string& text, bool resultShown, int keepDecimals) {
    if (resultShown && keepDecimals > 1 && findPoint(text) != 0) {
        return cutShownDecimals(text, keepDecimals);
    }
    return text;
}

} // namespace

DisplayLayout layoutDisplay(const std::string& displayText, bool resultShown, int keepDecimals) {
    std::string text = fitExponentForm(withKeptDecimals(displayText, resultShown, keepDecimals));

    // The overflow marker takes no slot, so a repaint of a marked text lands where the
    // first painting put it.
    const bool marked = !text.empty() && text.front() == 'E';
    const std::string counted = marked ? text.substr(1) : text;
    int n = static_cast<int>(counted.size());
    if (n >= kDisplaySlots) {
        n = widthLimit(counted);
    }
    if (findPoint(text) > kDisplaySlots - 1 && !marked) {
        text.insert(0, "E");
    }
    return DisplayLayout{text, (kDisplaySlots - n) * kDisplayAdvanceTwips, kDisplayTopTwips};
}

std::string shownNumber(const std::string& displayText, bool resultShown, int keepDecimals) {
    std::string text = withKeptDecimals(displayText, resultShown, keepDecimals);
    if (!text.empty() && text.front() == 'E') {
        text.erase(0, 1);
    }
    return text;
}

} // namespace engine
