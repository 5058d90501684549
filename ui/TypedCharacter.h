// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class QKeyEvent;

namespace ui {

// The character codes a key press types, as the calculator reads them: Backspace 8,
// Enter 13, and the text of the key for the rest. Keys that move the focus or type
// nothing give no code.
class TypedCharacter {
  public:
    static std::vector<int> codes(const QKeyEvent& event);
};

} // namespace ui
