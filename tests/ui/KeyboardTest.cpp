// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "ui/AboutWindow.h"
#include "ui/DisplayBox.h"
#include "ui/KeyButton.h"
#include "ui/OptionsMenu.h"
#include "ui/ShortcutKey.h"
#include "ui/TypedCharacter.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using uitest::WindowHarness;

TEST(TypedCharacter, key_presses_become_the_codes_the_calculator_reads) {
    struct Row {
        Qt::Key key;
        const char* text;
        std::vector<int> codes;
    };
    const Row rows[] = {
        {Qt::Key_1, "1", {'1'}},        {Qt::Key_Plus, "+", {'+'}},
        {Qt::Key_Period, ".", {'.'}},   {Qt::Key_Backspace, "\b", {8}},
        {Qt::Key_Backspace, "", {8}},   {Qt::Key_Return, "\r", {13}},
        {Qt::Key_Enter, "", {13}},      {Qt::Key_Space, " ", {32}},
        {Qt::Key_Escape, "\x1b", {27}}, {Qt::Key_Tab, "\t", {}},
        {Qt::Key_Backtab, "", {}},      {Qt::Key_Shift, "", {}},
        {Qt::Key_Left, "", {}},
    };
    for (const Row& row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.key, Qt::NoModifier,
                              QString::fromLatin1(row.text));
        EXPECT_EQ(ui::TypedCharacter::codes(event), row.codes) << row.key;
    }
}

TEST(Keyboard, typed_calculation_shows_its_result) {
    WindowHarness h;
    h.typeText(QStringLiteral("12+3.5="));
    EXPECT_EQ(h.display(), "15.5");
    EXPECT_EQ(h.window.display()->text(), QStringLiteral("15.5"));
}

TEST(Keyboard, named_keys_type_their_characters) {
    struct Row {
        std::vector<Qt::Key> keys;
        const char* display;
    };
    const Row rows[] = {
        {{Qt::Key_1, Qt::Key_2, Qt::Key_Backspace}, "1"},
        {{Qt::Key_9, Qt::Key_Space}, "0"},
        {{Qt::Key_2, Qt::Key_Asterisk, Qt::Key_3, Qt::Key_Enter}, "6"},
        {{Qt::Key_2, Qt::Key_Plus, Qt::Key_3, Qt::Key_Return}, "5"},
        {{Qt::Key_4, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_Tab}, "4"},
    };
    for (const Row& row : rows) {
        WindowHarness h;
        for (const Qt::Key key : row.keys) {
            QTest::keyClick(&h.window, key);
        }
        EXPECT_EQ(h.display(), row.display);
        EXPECT_TRUE(h.window.isVisible());
    }
}

TEST(Keyboard, typing_reaches_the_calculator_whichever_control_has_the_focus) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    auto* list = h.find<QListWidget>(QStringLiteral("List1"));
    h.typeText(QStringLiteral("1+2="));
    ASSERT_TRUE(h.waitForQuiet());
    list->setFocus();
    const int row = list->currentRow();
    QTest::keyClicks(list, QStringLiteral("7"));
    EXPECT_EQ(h.display(), "7");
    EXPECT_EQ(list->currentRow(), row);
}

TEST(Keyboard, switched_off_keyboard_types_nothing) {
    WindowHarness h;
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    h.typeText(QStringLiteral("5"));
    EXPECT_EQ(h.display(), "0");
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    h.typeText(QStringLiteral("5"));
    EXPECT_EQ(h.display(), "5");
}

TEST(Keyboard, keys_typed_into_other_windows_stay_there) {
    WindowHarness h;
    QWidget other;
    other.show();
    QTest::keyClick(&other, '5');
    EXPECT_EQ(h.display(), "0");
}

TEST(Keyboard, f5_and_the_display_action_read_aloud_and_the_clipboard_carries_numbers) {
    WindowHarness h;
    h.typeText(QStringLiteral("12+3="));
    ASSERT_TRUE(h.waitForQuiet());
    h.player.played.clear();
    QTest::keyClick(&h.window, Qt::Key_F5);
    ASSERT_FALSE(h.player.played.empty());
    EXPECT_TRUE(h.player.played.front().empty()) << "no clip folder here: the fallback sounds";
    ASSERT_TRUE(h.waitForQuiet());
    EXPECT_EQ(h.player.played.size(), 2u);

    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(h.window.display());
    ASSERT_NE(display->actionInterface(), nullptr);
    EXPECT_TRUE(display->actionInterface()->actionNames().contains(QStringLiteral("朗读")));
    display->actionInterface()->doAction(QStringLiteral("朗读"));
    EXPECT_TRUE(h.program.calculator().state().speaking);
    ASSERT_TRUE(h.waitForQuiet());

    // Copying works with typed input off; pasting does not.
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    QTest::keyClick(&h.window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("15"));
    QGuiApplication::clipboard()->setText(QStringLiteral("42.5"));
    QTest::keyClick(&h.window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.display(), "15");
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    QTest::keyClick(&h.window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.display(), "42.5");
}

TEST(Keyboard, shortcut_keys_work_the_program_even_with_keyboard_input_off) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::optional<settings::Shortcut> shortcut;
    } rows[] = {
        {Qt::Key_Menu, Qt::NoModifier, settings::Shortcut::OptionsMenu},
        {Qt::Key_F10, Qt::ShiftModifier, settings::Shortcut::OptionsMenu},
        {Qt::Key_F10, Qt::NoModifier, std::nullopt},
        {Qt::Key_S, Qt::ControlModifier | Qt::KeypadModifier, settings::Shortcut::Save},
        {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, std::nullopt},
        {Qt::Key_S, Qt::NoModifier, std::nullopt},
        {Qt::Key_F2, Qt::NoModifier, settings::Shortcut::RecordTab},
        {Qt::Key_F9, Qt::NoModifier, settings::Shortcut::Minimise},
        {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, settings::Shortcut::ClearRecords},
        {Qt::Key_Delete, Qt::NoModifier, std::nullopt},
        {Qt::Key_Escape, Qt::NoModifier, std::nullopt},
    };
    for (const auto& row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers);
        EXPECT_EQ(ui::ShortcutKey::of(event), row.shortcut) << row.key;
    }

    WindowHarness h;
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    // At the options key, wherever the pointer is (the menu may be lifted to fit the screen).
    QCursor::setPos(h.window.mapToGlobal(QPoint(150, 20)));
    QTest::keyClick(&h.window, Qt::Key_Menu);
    ui::OptionsMenu& menu = *h.window.optionsMenu();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos().x(), h.window.key(engine::Key::Options)->mapToGlobal(QPoint()).x());
    menu.close();

    QTest::keyClick(&h.window, Qt::Key_F1);
    ASSERT_NE(h.window.aboutWindow(), nullptr);
    EXPECT_TRUE(h.window.aboutWindow()->isVisible());
    QTest::keyClick(h.window.aboutWindow(), Qt::Key_Escape);
    EXPECT_TRUE(h.window.aboutWindow() == nullptr || !h.window.aboutWindow()->isVisible());

    // Ctrl+S is not the character it would type: the display stays as it was.
    h.window.optionsMenu()->action(settings::MenuItem::munkeey)->trigger();
    QTest::keyClick(&h.window, Qt::Key_7);
    QTest::keyClick(&h.window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(h.display(), "7");
    QTest::keyClick(&h.window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(h.window.isVisible());
}
