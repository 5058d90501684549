// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The voice clips carried by the program. A digit d has the clip kClipZero + d; the
// reading of results relies on that arithmetic.
namespace engine {

inline constexpr int kClipZero = 100;
inline constexpr int kClipPoint = 110;
inline constexpr int kClipClear = 111;
inline constexpr int kClipAdd = 112;
inline constexpr int kClipSubtract = 113;
inline constexpr int kClipMultiply = 114;
inline constexpr int kClipDivide = 115;
inline constexpr int kClipEquals = 116;
inline constexpr int kClipClick = 117;
inline constexpr int kClipMinus = 118;
// The place units of a number read as an amount: 十 百 千 万 亿.
inline constexpr int kClipTen = 119;
inline constexpr int kClipHundred = 120;
inline constexpr int kClipThousand = 121;
inline constexpr int kClipTenThousand = 122;
inline constexpr int kClipHundredMillion = 123;

inline constexpr int kFirstClip = 100;
inline constexpr int kLastClip = 123;

constexpr int digitClip(int digit) {
    return kClipZero + digit;
}

} // namespace engine
