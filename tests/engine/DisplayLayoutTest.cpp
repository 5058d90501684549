// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine/DisplayLayout.h"

using namespace engine;

struct LayoutRow {
    const char* text;
    bool resultShown;
    int keep;
    const char* shown;
    int x;
};

TEST(DisplayLayout, CutsMarksAndPlacesByCountedSlots) {
    const LayoutRow rows[] = {
        {"0", false, 4, "0", 3159},
        {"-5", false, 4, "-5", 2916},
        {"123.45", false, 4, "123.45", 1944},
        {"123456789012", false, 4, "123456789012", 486},
        {"3.14159", true, 2, "3.14", 2430},
        {"3.14159", true, 4, "3.1415", 1944},
        {"3.14159", true, 0, "3.14159", 1701},
        {"2.5", true, 4, "2.5", 2673},
        {"7", true, 2, "7", 3159},
        {"0.12345", false, 2, "0.12345", 1701},
        {"-13717421001111.1", true, 0, "E-13717421001111.1", 0},
        {"13717421001333.3", true, 0, "E13717421001333.3", 243},
        {"E-13717421001111.1", true, 0, "E-13717421001111.1", 0},
        {"12345678901200", true, 4, "12345678901200", 243},
        // An exponent is the size of the number and stays in view.
        {"9.99999999999E+15", true, 2, "9.99E+15", 1458},
        {"9.99999999999E+15", true, 0, "9.9999999E+15", 243},
        {"1.23456789012346E+17", true, 0, "1.2345678E+17", 243},
        {"-1.23456789012346E+17", true, 0, "-1.2345678E+17", 0},
        {"1E+15", true, 4, "1E+15", 2187},
    };
    for (const LayoutRow& row : rows) {
        const DisplayLayout layout = layoutDisplay(row.text, row.resultShown, row.keep);
        EXPECT_EQ(layout.text, row.shown) << row.text;
        EXPECT_EQ(layout.xTwips, row.x) << row.text;
        EXPECT_EQ(layout.yTwips, 170) << row.text;
    }
}

TEST(DisplayLayout, RepaintingATreatedTextChangesNothing) {
    for (const char* text : {"-13717421001111.1", "9.99999999999E+15", "3.14159"}) {
        const DisplayLayout once = layoutDisplay(text, true, 2);
        const DisplayLayout twice = layoutDisplay(once.text, true, 2);
        EXPECT_EQ(once, twice) << text;
    }
}
