// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "settings/DisplayScale.h"

using settings::DisplayScale;

TEST(DisplayScale, AcceptsPlainFactorsFromOneToFour) {
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"1", 1.0},
        {"2", 2.0},
        {"1.5", 1.5},
        {"4", 4.0},
        {"4.0", 4.0},
        {"0.5", std::nullopt},
        {"4.01", std::nullopt},
        {"0", std::nullopt},
        {"-2", std::nullopt},
        {"2x", std::nullopt},
        {"1e0", std::nullopt},
        {"", std::nullopt},
        {"nan", std::nullopt},
        {"2,5", std::nullopt},
        {".", std::nullopt},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_EQ(DisplayScale::parse(text), value) << '"' << text << '"';
    }
}

TEST(DisplayScale, ReducesToTheLargestFactorTheScreenHolds) {
    // The widest window is 528 x 408 pixels at factor 1.
    EXPECT_EQ(DisplayScale::fit(2.0, 1280, 1024), 2.0);
    EXPECT_EQ(DisplayScale::fit(4.0, 1280, 1024), 2.42);
    EXPECT_EQ(DisplayScale::fit(2.0, 1024, 768), 1.88);
    EXPECT_EQ(DisplayScale::fit(3.0, 3840, 1224), 3.0);
    EXPECT_EQ(DisplayScale::fit(2.0, 640, 480), 1.17);
    EXPECT_EQ(DisplayScale::fit(2.0, 320, 240), 1.0) << "never smaller than without the option";
}
