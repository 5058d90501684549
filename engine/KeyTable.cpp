// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KeyTable.h"

#include "engine/ClipNumbers.h"

namespace engine {
namespace {

constexpr int kSmallW = 705, kSmallH = 420, kWideW = 1095, kWideH = 465;
constexpr int kCol1 = 240, kCol2 = 960, kCol3 = 1680, kWideLeft = 2640;

using enum Key;
using enum KeyGroup;
using enum CaptionFont;

constexpr KeyInfo digit(Key key, int index, std::string_view caption, std::string_view typed,
                        std::string_view name, int left, int top) {
    return {key,   Digits, index,     "Picture1", caption, digitClip(index + 1),
            typed, name,   left,      top,        kSmallW, kSmallH,
            180,   100,    DigitFont, false};
}

constexpr KeyInfo control(Key key, int index, std::string_view caption, int clip,
                          std::string_view typed, std::string_view name, int left) {
    return {key,  Controls, index,   "Picture4", caption, clip, typed,     name,
            left, 4140,     kSmallW, kSmallH,    150,     90,   SmallFont, false};
}

constexpr KeyInfo op(Key key, int index, std::string_view caption, int clip, std::string_view typed,
                     std::string_view name, int top) {
    return {key,       Operators, index,  "Picture2", caption, clip, typed,        name,
            kWideLeft, top,       kWideW, kWideH,     350,     100,  OperatorFont, key == Equals};
}

const std::array<KeyInfo, kKeyCount> kKeys = {{
    digit(One, 0, " 1 ", "1", "一", kCol1, 2040),
    digit(Two, 1, " 2 ", "2", "二", kCol2, 2040),
    digit(Three, 2, " 3 ", "3", "三", kCol3, 2040),
    digit(Four, 3, " 4 ", "4", "四", kCol1, 2520),
    digit(Five, 4, " 5 ", "5", "五", kCol2, 2520),
    digit(Six, 5, " 6 ", "6", "六", kCol3, 2520),
    digit(Seven, 6, " 7 ", "7", "七", kCol1, 3000),
    digit(Eight, 7, " 8 ", "8", "八", kCol2, 3000),
    digit(Nine, 8, " 9 ", "9", "九", kCol3, 3000),
    {Zero, Digits, 9, "Picture1", "0", kClipZero, "0", "零", kCol1, 3480, kSmallW, kSmallH, 300, 80,
     DigitFont, false},
    {Point, Digits, 10, "Picture1", ".", kClipPoint, ".", "小数点", kCol2, 3480, kSmallW, kSmallH,
     300, 10, PointFont, false},
    {Sign, Signs, 0, "Picture6", "+/-", kClipMinus, "\\", "正负号", kCol3, 3480, kSmallW, kSmallH,
     190, 130, SmallFont, false},
    control(Clear, 0, "清空", kClipClear, " ", "清空", kCol1),
    control(Backspace, 1, "退格", kClipClick, "\b", "退格", kCol2),
    control(Options, 2, "选项", 0, "", "选项", kCol3),
    op(Add, 0, "加+", kClipAdd, "+", "加", 2040),
    op(Subtract, 1, "减-", kClipSubtract, "-", "减", 2560),
    op(Multiply, 2, "乘x", kClipMultiply, "*", "乘", 3080),
    op(Divide, 3, "除/", kClipDivide, "/", "除", 3580),
    op(Equals, 4, "等于=", kClipEquals, "\r=", "等于", 4080),
}};

} // namespace

const std::array<KeyInfo, kKeyCount>& keyTable() {
    return kKeys;
}

const KeyInfo& keyInfo(Key key) {
    return kKeys[static_cast<std::size_t>(key)];
}

const KeyInfo* keyForCharacter(int code) {
    if (code <= 0 || code > 127) {
        return nullptr;
    }
    for (const KeyInfo& info : kKeys) {
        if (info.typedWith.find(static_cast<char>(code)) != std::string_view::npos) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace engine
