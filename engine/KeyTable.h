// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <string_view>

// Every key of the keypad, and everything the program knows about one: which control it
// is, what it says, what it sounds, which characters type it, where it sits. Handlers,
// painting, the keyboard and accessibility all read this one table.
namespace engine {

enum class Key {
    One,
    Two,
    Three,
    Four,
    Five,
    Six,
    Seven,
    Eight,
    Nine,
    Zero,
    Point,
    Sign,
    Clear,
    Backspace,
    Options,
    Add,
    Subtract,
    Multiply,
    Divide,
    Equals,
};

enum class KeyGroup { Digits, Signs, Controls, Operators };

// Fonts of the captions, by the role they play on the skin.
enum class CaptionFont { DigitFont, PointFont, OperatorFont, SmallFont };

struct KeyInfo {
    Key key;
    KeyGroup group;
    int index; // control-array index within its group (Picture1, Picture6, Picture4, Picture2)
    std::string_view control;
    std::string_view caption;   // as painted on the key face
    int clip;                   // 0 for none
    std::string_view typedWith; // characters that type it, after the keyboard layout
    std::string_view accessibleName;
    int leftTwips, topTwips, widthTwips, heightTwips;
    int captionXTwips, captionYTwips;
    CaptionFont font;
    bool cyanCaption;
};

inline constexpr std::size_t kKeyCount = 20;

const std::array<KeyInfo, kKeyCount>& keyTable();
const KeyInfo& keyInfo(Key key);
// The key typed by a character code, or nullptr when the character means nothing.
const KeyInfo* keyForCharacter(int code);

} // namespace engine
