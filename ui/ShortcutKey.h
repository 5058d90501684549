// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Shortcut.h"

#include <QStringList>
#include <optional>

class QKeyEvent;

namespace ui {

// Which shortcut, if any, a key press is. Exact modifiers only: Ctrl+Shift+S is not Ctrl+S.
class ShortcutKey {
  public:
    static std::optional<settings::Shortcut> of(const QKeyEvent& event);
    // In the About window, where only Escape is a shortcut.
    static std::optional<settings::Shortcut> inAbout(const QKeyEvent& event);
    // The keys of a shortcut as a screen reader tells them, "Ctrl+S".
    static QStringList names(settings::Shortcut shortcut);
};

} // namespace ui
