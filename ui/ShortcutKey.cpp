// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShortcutKey.h"

#include <QKeyEvent>

namespace ui {

std::optional<settings::Shortcut> ShortcutKey::of(const QKeyEvent& event) {
    using settings::Shortcut;
    struct Binding {
        int key;
        Qt::KeyboardModifiers modifiers;
        Shortcut shortcut;
    };
    static const Binding bindings[] = {
        {Qt::Key_Menu, Qt::NoModifier, Shortcut::OptionsMenu},
        {Qt::Key_F10, Qt::ShiftModifier, Shortcut::OptionsMenu},
        {Qt::Key_F1, Qt::NoModifier, Shortcut::About},
        {Qt::Key_S, Qt::ControlModifier, Shortcut::Save},
        {Qt::Key_Q, Qt::ControlModifier, Shortcut::Exit},
        {Qt::Key_F6, Qt::NoModifier, Shortcut::ReadCalculation},
        {Qt::Key_Up, Qt::NoModifier, Shortcut::RecordUp},
        {Qt::Key_Down, Qt::NoModifier, Shortcut::RecordDown},
        {Qt::Key_Home, Qt::NoModifier, Shortcut::RecordFirst},
        {Qt::Key_End, Qt::NoModifier, Shortcut::RecordLast},
        {Qt::Key_F7, Qt::NoModifier, Shortcut::ReadingStyle},
    };
    // Whether a key sits on the number pad changes nothing here.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    for (const Binding& binding : bindings) {
        if (event.key() == binding.key && modifiers == binding.modifiers) {
            return binding.shortcut;
        }
    }
    return std::nullopt;
}

} // namespace ui
