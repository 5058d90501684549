// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Shortcut.h"

#include <optional>

class QKeyEvent;

namespace ui {

// Which shortcut, if any, a key press is. Exact modifiers only: Ctrl+Shift+S is not Ctrl+S.
class ShortcutKey {
  public:
    static std::optional<settings::Shortcut> of(const QKeyEvent& event);
};

} // namespace ui
