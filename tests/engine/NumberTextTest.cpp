// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "engine/NumberText.h"

using namespace engine;

TEST(NumberText, FindPointIsOneBasedAndZeroWhenAbsent) {
    EXPECT_EQ(findPoint("12.5"), 3);
    EXPECT_EQ(findPoint(".5"), 1);
    EXPECT_EQ(findPoint("125"), 0);
    EXPECT_EQ(findPoint(" 1.2.3"), 3);
    EXPECT_EQ(findPoint(""), 0);
}

struct RawCase {
    double value;
    const char* raw;
};

TEST(NumberText, RawTextHasFifteenDigitsLeadingBlankAndNoZeroBeforePoint) {
    const RawCase cases[] = {
        {0.5, " .5"},
        {-0.5, "-.5"},
        {0.0001, " .0001"},
        {1e-5, " 1E-05"},
        {1.5e-5, " 1.5E-05"},
        {1e15, " 1E+15"},
        {123456789012345678.0, " 1.23456789012346E+17"},
        {2.0 / 3.0, " .666666666666667"},
        {0.1 + 0.2, " .3"},
        {100.0, " 100"},
        {0.0, " 0"},
        {-0.0, " 0"},
        {-6.0, "-6"},
        {99999999999999.0, " 99999999999999"},
        {1e-100, " 1E-100"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rawNumberText(c.value), c.raw) << c.value;
    }
}

TEST(NumberText, SmallExponentsAreWrittenOut) {
    EXPECT_EQ(expandSmallExponent(" 1E-05"), "0.00001");
    EXPECT_EQ(expandSmallExponent(" 1.5E-05"), "0.000015");
    EXPECT_EQ(expandSmallExponent("-2.5E-07"), "-0.00000025");
    EXPECT_EQ(expandSmallExponent(" 1.23456789012346E-11"), "0.0000000000123456789012346");
}

TEST(NumberText, ExponentsOfThreeDigitsAreReadWhole) {
    const std::string text = expandSmallExponent(" 1E-100");
    EXPECT_EQ(text, "0." + std::string(99, '0') + "1");
    EXPECT_EQ(expandSmallExponent("-1.5E-120"), "-0." + std::string(119, '0') + "15");
}

TEST(NumberText, NormaliseTrimsAndAddsTheLeadingZero) {
    EXPECT_EQ(normaliseResult(" .5"), "0.5");
    EXPECT_EQ(normaliseResult("-.5"), "-0.5");
    EXPECT_EQ(normaliseResult(" 100"), "100");
    EXPECT_EQ(normaliseResult(" 1E+15"), "1E+15");
    EXPECT_EQ(normaliseResult(" 1.5E+15"), "1.5E+15");
}

TEST(NumberText, CutDecimalsDropsDigitsAndKeepsExponents) {
    EXPECT_EQ(cutDecimals("0.333333333333333"), "0.3333");
    EXPECT_EQ(cutDecimals("2.5"), "2.5");
    EXPECT_EQ(cutDecimals("7"), "7");
    EXPECT_EQ(cutDecimals("-1.23456"), "-1.2345");
    EXPECT_EQ(cutDecimals("1.5E+15"), "1.5E+15");
    EXPECT_EQ(cutDecimals("1.23456789012346E+17"), "1.2345E+17");
}

TEST(NumberText, BracketNegativeWrapsOnlyNegatives) {
    EXPECT_EQ(bracketNegative(" -2 "), "(-2)");
    EXPECT_EQ(bracketNegative("3"), "3");
    EXPECT_EQ(bracketNegative(""), "");
}

TEST(NumberText, TextToNumberReadsEntriesAndResults) {
    EXPECT_EQ(textToNumber(""), 0.0);
    EXPECT_EQ(textToNumber("0."), 0.0);
    EXPECT_EQ(textToNumber("5."), 5.0);
    EXPECT_EQ(textToNumber("-0"), 0.0);
    EXPECT_EQ(textToNumber("-12.5"), -12.5);
    EXPECT_EQ(textToNumber("1.5E+15"), 1.5e15);
    EXPECT_EQ(textToNumber("abc"), 0.0);
    // Only what the display writes is a number: no plus, no hexadecimal, nothing out of range.
    EXPECT_EQ(textToNumber("+5"), 0.0);
    EXPECT_EQ(textToNumber("0x1A"), 0.0);
    EXPECT_EQ(textToNumber("1E+400"), 0.0);
    EXPECT_EQ(textToNumber("1E-400"), 0.0);
}

TEST(NumberText, ALocaleWithDecimalCommaChangesNothing) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
        GTEST_SKIP() << "no other locale installed";
    }
    EXPECT_EQ(rawNumberText(12.5), " 12.5");
    EXPECT_EQ(textToNumber("12.5"), 12.5);
    std::setlocale(LC_ALL, saved.c_str());
}
