// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as typed characters and key clicks; the calculator's promises are
// checked after every single key.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/Calculator.h"

namespace {

struct CheckingEvents : engine::CalculatorEvents {
    std::string lastLine;
    void displayChanged(const engine::DisplayLayout&) override {}
    void playClip(int clip) override {
        if (clip < 100 || clip > 118) {
            fail("clip out of range");
        }
    }
    void recordCalculation(const std::string& line) override { lastLine = line; }
    void showNotice(const std::string&) override {}
    void startReading(const std::string&) override {}
    void popupOptionsMenu() override {}

    [[noreturn]] static void fail(const char* what) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
};

bool hasNonNumber(std::string_view text) {
    for (std::string_view bad : {"inf", "nan", "INF", "NAN"}) {
        if (text.find(bad) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

void check(const engine::Calculator& calc, const CheckingEvents& events, std::size_t before1,
           bool operatorKey) {
    const engine::CalculatorState& s = calc.state();
    if (s.operand2.size() > engine::kMaxEntryLength) {
        CheckingEvents::fail("second operand too long");
    }
    if (s.operand1.size() > engine::kMaxEntryLength && s.operand1.size() > before1 &&
        !operatorKey) {
        CheckingEvents::fail("typed entry too long");
    }
    if (!s.operatorSet && !s.operand2.empty()) {
        CheckingEvents::fail("second operand without operator");
    }
    if (s.resultShown && (!s.operand1.empty() || !s.operand2.empty())) {
        CheckingEvents::fail("operands kept beside a result");
    }
    if (hasNonNumber(s.displayText) || hasNonNumber(s.resultText) ||
        hasNonNumber(events.lastLine)) {
        CheckingEvents::fail("inf or nan shown");
    }
    if (events.lastLine.find_first_not_of("0123456789.-()+*/=E") != std::string::npos) {
        CheckingEvents::fail("record line with a foreign character");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingEvents events;
    engine::Calculator calc(events);
    calc.setKeepDecimals(size > 0 ? (data[0] % 3) * 2 : 0);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        const std::size_t before1 = calc.state().operand1.size();
        bool operatorKey = false;
        if (byte & 0x80) {
            const auto& info = engine::keyTable()[(byte & 0x7f) % engine::kKeyCount];
            operatorKey = info.group == engine::KeyGroup::Operators;
            calc.press(info.key);
        } else if (byte == 0x7f) {
            calc.finishSpeaking();
        } else {
            operatorKey =
                std::string_view("+-*/").find(static_cast<char>(byte)) != std::string_view::npos;
            calc.typeCharacter(byte);
        }
        check(calc, events, before1, operatorKey);
    }
    return 0;
}
