// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShortcutKey.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace ui {

namespace {

using settings::Shortcut;

struct Binding {
    int key;
    Qt::KeyboardModifiers modifiers;
    Shortcut shortcut;
};

// None of these types a character, so the keys that type into the calculator stay as they
// are; Escape and Delete alone do nothing in the main window.
const Binding kBindings[] = {
    {Qt::Key_Menu, Qt::NoModifier, Shortcut::OptionsMenu},
    {Qt::Key_F10, Qt::ShiftModifier, Shortcut::OptionsMenu},
    {Qt::Key_F1, Qt::NoModifier, Shortcut::About},
    {Qt::Key_S, Qt::ControlModifier, Shortcut::Save},
    {Qt::Key_Q, Qt::ControlModifier, Shortcut::Exit},
    {Qt::Key_F2, Qt::NoModifier, Shortcut::RecordTab},
    {Qt::Key_F3, Qt::NoModifier, Shortcut::WideView},
    {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, Shortcut::ClearRecords},
    {Qt::Key_F9, Qt::NoModifier, Shortcut::Minimise},
    {Qt::Key_F6, Qt::NoModifier, Shortcut::ReadCalculation},
    {Qt::Key_Up, Qt::NoModifier, Shortcut::RecordUp},
    {Qt::Key_Down, Qt::NoModifier, Shortcut::RecordDown},
    {Qt::Key_Home, Qt::NoModifier, Shortcut::RecordFirst},
    {Qt::Key_End, Qt::NoModifier, Shortcut::RecordLast},
    {Qt::Key_F7, Qt::NoModifier, Shortcut::ReadingStyle},
};

const Binding kAboutBindings[] = {
    {Qt::Key_Escape, Qt::NoModifier, Shortcut::CloseAbout},
};

template <std::size_t N>
std::optional<Shortcut> find(const Binding (&bindings)[N], const QKeyEvent& event) {
    // Whether a key sits on the number pad changes nothing here.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    for (const Binding& binding : bindings) {
        if (event.key() == binding.key && modifiers == binding.modifiers) {
            return binding.shortcut;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<settings::Shortcut> ShortcutKey::of(const QKeyEvent& event) {
    return find(kBindings, event);
}

std::optional<settings::Shortcut> ShortcutKey::inAbout(const QKeyEvent& event) {
    return find(kAboutBindings, event);
}

QStringList ShortcutKey::names(settings::Shortcut shortcut) {
    QStringList names;
    for (const Binding& binding : kBindings) {
        if (binding.shortcut == shortcut) {
            names << QKeySequence(QKeyCombination(binding.modifiers, Qt::Key(binding.key)))
                         .toString(QKeySequence::PortableText);
        }
    }
    return names;
}

} // namespace ui
