// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace settings {

// Keys that work the program itself rather than type into the calculator.
enum class Shortcut {
    OptionsMenu,  // the Menu key, Shift+F10
    About,        // F1
    Save,         // Ctrl+S
    Exit,         // Ctrl+Q
    RecordTab,    // F2: opens the record panel, or stops the record
    WideView,     // F3: long calculations in full, while the panel is open
    ClearRecords, // Ctrl+Shift+Delete: empties the record, while the panel is open
    Minimise,     // F9
    CloseAbout,   // Escape, in the About window
    ReadCalculation, // F6
    RecordUp,        // Up, with the record panel open
    RecordDown,      // Down
    RecordFirst,     // Home
    RecordLast,      // End
    ReadingStyle,    // F7
};

} // namespace settings
