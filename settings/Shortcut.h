// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace settings {

// Keys that work the program itself rather than type into the calculator.
enum class Shortcut {
    OptionsMenu,     // the Menu key, Shift+F10
    About,           // F1
    Save,            // Ctrl+S
    Exit,            // Ctrl+Q
    ReadCalculation, // F6
    RecordUp,        // Up, with the record panel open
    RecordDown,      // Down
    RecordFirst,     // Home
    RecordLast,      // End
    ReadingStyle,    // F7
};

} // namespace settings
