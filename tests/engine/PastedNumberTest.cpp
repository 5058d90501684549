// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine/PastedNumber.h"

using engine::pastedEntry;

struct PasteCase {
    const char* pasted;
    const char* entry; // nullptr: nothing is entered
};

TEST(PastedNumber, EntersWhatTypingWouldStoreOrNothing) {
    const PasteCase cases[] = {
        // Plain numbers, as the keys store them.
        {"42.5", "42.5"},
        {"15", "15"},
        {"-3.25", "-3.25"},
        {"007", "7"},
        {".5", "0.5"},
        {"-.5", "-0.5"},
        {"0.5", "0.5"},
        {"12.", "12."},
        {"0", ""},
        {"-0", ""},
        // Spaces around it, full-width forms, group commas.
        {"  12\t\r\n", "12"},
        {"\xE3\x80\x80"
         "8"
         "\xC2\xA0",
         "8"},
        {"\xEF\xBC\x91\xEF\xBC\x92", "12"},
        {"\xEF\xBC\x93\xEF\xBC\x8E\xEF\xBC\x95", "3.5"},
        {"1,234,567.25", "1234567.25"},
        {"-12,345", "-12345"},
        // Twelve characters fit, the sign counted; thirteen do not.
        {"123456789012", "123456789012"},
        {"-12345678901", "-12345678901"},
        {"1234567890123", nullptr},
        {"-123456789012", nullptr},
        {".12345678901", nullptr}, // typed, it would need "0." in front
        {"000000000000012", nullptr},
        {"12345678901234567890", nullptr},
        // Not a number the keys could type.
        {"1e5", nullptr},
        {"1,5", nullptr},
        {"1234,567", nullptr},
        {",123", nullptr},
        {"1,234.5,6", nullptr},
        {"1.2.3", nullptr},
        {"--5", nullptr},
        {"5-", nullptr},
        {"+5", nullptr},
        {"1 2", nullptr},
        {"", nullptr},
        {"   ", nullptr},
        {"-", nullptr},
        {".", nullptr},
        {"abc", nullptr},
        {"\xEF\xBC\x8D"
         "5",
         nullptr},                 // full-width minus
        {"\xEF\xBC", nullptr},     // a cut-off full-width character
        {"\xE4\xB8\x80", nullptr}, // 一
    };
    for (const PasteCase& c : cases) {
        const auto entry = pastedEntry(c.pasted);
        if (c.entry == nullptr) {
            EXPECT_FALSE(entry.has_value()) << '"' << c.pasted << "\" gave \"" << *entry << '"';
        } else {
            EXPECT_EQ(entry.value_or("(nothing)"), c.entry) << '"' << c.pasted << '"';
        }
    }
}
