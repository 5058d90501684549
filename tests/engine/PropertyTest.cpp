// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "RecordingEvents.h"
#include "engine/Calculator.h"

using namespace engine;

namespace {

bool hasNonNumber(const std::string& text) {
    return text.find("inf") != std::string::npos || text.find("nan") != std::string::npos ||
           text.find("INF") != std::string::npos || text.find("NAN") != std::string::npos;
}

void checkInvariants(const Calculator& calc, const RecordingEvents& events, std::size_t before1,
                     std::size_t before2, bool operatorTook) {
    const CalculatorState& s = calc.state();
    if (!s.operatorSet) {
        ASSERT_TRUE(s.operand2.empty());
    }
    if (s.resultShown) {
        ASSERT_TRUE(s.operand1.empty());
        ASSERT_TRUE(s.operand2.empty());
    }
    ASSERT_LE(s.operand2.size(), kMaxEntryLength);
    // operand1 may only exceed the limit when an operator took a long result over.
    if (s.operand1.size() > kMaxEntryLength && !operatorTook) {
        ASSERT_LE(s.operand1.size(), before1);
    }
    if (before2 >= kMaxEntryLength) {
        ASSERT_LE(s.operand2.size(), before2);
    }
    ASSERT_NE(s.operand1, "-");
    ASSERT_NE(s.operand2, "-");
    ASSERT_FALSE(hasNonNumber(s.displayText)) << s.displayText;
    ASSERT_FALSE(hasNonNumber(s.resultText)) << s.resultText;
    for (const std::string& line : events.records) {
        ASSERT_FALSE(hasNonNumber(line)) << line;
    }
}

} // namespace

TEST(CalculatorProperties, RandomKeySequencesKeepTheInvariants) {
    const std::string keys = "0123456789.+-*/=\r\b \\x";
    std::mt19937 random(20261208);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        RecordingEvents events;
        Calculator calc(events);
        calc.setKeepDecimals(static_cast<int>(random() % 3) * 2);
        for (int i = 0; i < 60; ++i) {
            const char c = keys[random() % keys.size()];
            const std::size_t before1 = calc.state().operand1.size();
            const std::size_t before2 = calc.state().operand2.size();
            calc.typeCharacter(static_cast<unsigned char>(c));
            if (random() % 3 == 0) {
                calc.finishSpeaking();
            }
            const bool operatorTook = std::string_view("+-*/").find(c) != std::string_view::npos;
            checkInvariants(calc, events, before1, before2, operatorTook);
            if (HasFatalFailure()) {
                FAIL() << "sequence " << sequence << " key " << i;
            }
        }
    }
}
