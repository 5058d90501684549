// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "engine/ClipNumbers.h"
#include "engine/KeyTable.h"

using namespace engine;

TEST(KeyTable, LookupByKeyFindsItsOwnRow) {
    for (const KeyInfo& info : keyTable()) {
        EXPECT_EQ(&keyInfo(info.key), &info);
    }
}

TEST(KeyTable, EveryCharacterOfTheKeyboardTableTypesItsKey) {
    const std::pair<int, Key> rows[] = {
        {8, Key::Backspace}, {13, Key::Equals},    {32, Key::Clear},  {'*', Key::Multiply},
        {'+', Key::Add},     {'-', Key::Subtract}, {'.', Key::Point}, {'/', Key::Divide},
        {'0', Key::Zero},    {'1', Key::One},      {'9', Key::Nine},  {'=', Key::Equals},
        {'\\', Key::Sign},
    };
    for (const auto& [code, key] : rows) {
        const KeyInfo* info = keyForCharacter(code);
        ASSERT_NE(info, nullptr) << code;
        EXPECT_EQ(info->key, key) << code;
    }
    for (int code : {int('x'), int('c'), 27, 127, 0, int('E')}) {
        EXPECT_EQ(keyForCharacter(code), nullptr) << code;
    }
}

TEST(KeyTable, KeysDoNotOverlapAndHaveDistinctNames) {
    std::set<std::string_view> names;
    const auto& keys = keyTable();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_TRUE(names.insert(keys[i].accessibleName).second) << keys[i].accessibleName;
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            const KeyInfo& a = keys[i];
            const KeyInfo& b = keys[j];
            const bool apart = a.leftTwips + a.widthTwips <= b.leftTwips ||
                               b.leftTwips + b.widthTwips <= a.leftTwips ||
                               a.topTwips + a.heightTwips <= b.topTwips ||
                               b.topTwips + b.heightTwips <= a.topTwips;
            EXPECT_TRUE(apart) << a.accessibleName << " / " << b.accessibleName;
        }
    }
}

TEST(KeyTable, DigitClipsFollowTheDigit) {
    for (const KeyInfo& info : keyTable()) {
        if (info.group == KeyGroup::Digits && info.key != Key::Point) {
            const int digit = info.key == Key::Zero ? 0 : info.index + 1;
            EXPECT_EQ(info.clip, digitClip(digit));
        }
    }
}
