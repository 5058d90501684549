// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "ui/DisplayBox.h"
#include "ui/OptionsMenu.h"
#include "ui/RecordListBox.h"
#include "ui/RecordPanel.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

using uitest::WindowHarness;

TEST(Accessibility, every_key_and_control_has_a_chinese_name) {
    // The panel's controls exist once it has been opened.
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    const std::pair<const char*, const char*> rows[] = {
        {"一", "Picture1_0"},   {"五", "Picture1_4"},       {"九", "Picture1_8"},
        {"零", "Picture1_9"},   {"小数点", "Picture1_10"},  {"正负号", "Picture6"},
        {"清空", "Picture4_0"}, {"退格", "Picture4_1"},     {"选项", "Picture4_2"},
        {"加", "Picture2_0"},   {"减", "Picture2_1"},       {"乘", "Picture2_2"},
        {"除", "Picture2_3"},   {"等于", "Picture2_4"},     {"显示", "Picture5"},
        {"计算记录", "List1"},  {"最小化", "Image1_0"},     {"退出", "Image1_1"},
        {"关于", "Image10"},    {"开启记录功能", "Image9"}, {"清空记录", "Label1"},
        {"停止记录", "Label3"}, {"保存到文件", "Label6"},
    };
    for (const auto& [name, objectName] : rows) {
        QWidget* control = h.byAccessibleName(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->objectName(), QLatin1String(objectName)) << name;
    }
}

TEST(Accessibility, keys_are_buttons_a_screen_reader_can_press) {
    WindowHarness h;
    QAccessibleInterface* five =
        QAccessible::queryAccessibleInterface(h.byAccessibleName(QStringLiteral("五")));
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->role(), QAccessible::Button);
    ASSERT_NE(five->actionInterface(), nullptr);
    five->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.display() == "5"; }, 2000));
}

TEST(Accessibility, display_exposes_the_number_it_shows) {
    WindowHarness h;
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(h.window.display());
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->text(QAccessible::Name), QStringLiteral("显示"));
    EXPECT_EQ(display->text(QAccessible::Value), QStringLiteral("0"));
    h.typeText(QStringLiteral("3.5"));
    EXPECT_EQ(display->text(QAccessible::Value), QStringLiteral("3.5"));
    ASSERT_NE(display->valueInterface(), nullptr);
    EXPECT_EQ(display->valueInterface()->currentValue().toString(), QStringLiteral("3.5"));
}

TEST(Accessibility, with_the_voice_off_each_result_is_announced_even_the_same_again) {
    WindowHarness h;
    QStringList announced;
    QObject::connect(h.window.display(), &ui::DisplayBox::announced,
                     [&](const QString& text) { announced << text; });
    h.typeText(QStringLiteral("2+2="));
    ASSERT_TRUE(h.waitForQuiet());
    EXPECT_TRUE(announced.isEmpty()) << "the program's voice reads it";

    h.window.optionsMenu()->action(settings::MenuItem::mensenyin)->trigger();
    h.typeText(QStringLiteral("2+2=2*2="));
    EXPECT_EQ(announced, (QStringList{"4", "4"}));
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(h.window.display());
    EXPECT_EQ(display->text(QAccessible::Description), QStringLiteral("4"));
}

TEST(Accessibility, the_display_keeps_the_focus_and_keyed_controls_name_their_keys) {
    WindowHarness h;
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.window.display()->hasFocus(); }, 2000));
    QTest::keyClick(&h.window, Qt::Key_F2);
    ASSERT_TRUE(h.program.records().recordOn());
    const struct {
        const char* name;
        QStringList keys;
    } rows[] = {
        {"选项", {"Menu", "Shift+F10"}},
        {"关于", {"F1"}},
        {"开启记录功能", {"F2"}},
        {"停止记录", {"F2"}},
        {"查看长算式", {"F3"}},
        {"清空记录", {"Ctrl+Shift+Del"}},
        {"保存到文件", {"Ctrl+S"}},
        {"最小化", {"F9"}},
        {"退出", {"Ctrl+Q"}},
    };
    for (const auto& row : rows) {
        QWidget* control = h.byAccessibleName(QString::fromUtf8(row.name));
        ASSERT_NE(control, nullptr) << row.name;
        QAccessibleActionInterface* action =
            QAccessible::queryAccessibleInterface(control)->actionInterface();
        ASSERT_NE(action, nullptr) << row.name;
        EXPECT_EQ(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()), row.keys)
            << row.name;
    }
    // Pressed by a screen reader, a label does what its click does.
    QAccessibleInterface* view =
        QAccessible::queryAccessibleInterface(h.byAccessibleName(QStringLiteral("查看长算式")));
    view->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(h.program.records().wideView());

    QTest::keyClick(&h.window, Qt::Key_F2);
    EXPECT_FALSE(h.program.records().recordOn());
    EXPECT_TRUE(h.window.display()->hasFocus());
    EXPECT_EQ(h.window.recordPanel()->list()->focusPolicy(), Qt::NoFocus);
}

TEST(Accessibility, main_window_is_a_window_named_after_the_program) {
    WindowHarness h;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&h.window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("语音计算器"));
}

namespace {

// Whether a screen reader walking the window's children meets the control at all.
bool reachable(WindowHarness& h, QWidget* control) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&h.window);
    QAccessibleInterface* child = QAccessible::queryAccessibleInterface(control);
    return window->indexOfChild(child) >= 0 && !child->state().invisible;
}

} // namespace

TEST(Accessibility, record_panel_controls_reach_a_screen_reader_only_while_the_panel_is_open) {
    WindowHarness h;
    const char* const panel[] = {"Label2", "List1", "Label1", "Label4", "Label6", "Label3"};
    struct Step {
        const char* what;
        const char* click; // nullptr: as the window starts
        bool open;
    };
    const Step steps[] = {{"at start", nullptr, false},
                          {"after the tab", "Image9", true},
                          {"after stop", "Label3", false}};
    for (const Step& step : steps) {
        if (step.click != nullptr) {
            QTest::mouseClick(h.find(QLatin1String(step.click)), Qt::LeftButton);
        }
        // A panel never opened has no controls yet.
        for (const char* name : panel) {
            QWidget* control = h.find(QLatin1String(name));
            EXPECT_EQ(control != nullptr && control->isVisible(), step.open)
                << step.what << " " << name;
            EXPECT_EQ(control != nullptr && reachable(h, control), step.open)
                << step.what << " " << name;
        }
        // The full notice shows only with a full record, open or not.
        const QWidget* notice = h.find(QStringLiteral("Label5"));
        EXPECT_FALSE(notice != nullptr && notice->isVisible()) << step.what;
    }
}

TEST(Accessibility, a_full_record_shown_while_closed_shows_its_notice_on_opening) {
    WindowHarness h;
    record::RecordList records;
    records.setRecordOn(true);
    for (int i = 0; i <= record::kMaxRecordLines; ++i) {
        records.recordCalculation("1+1=2");
    }
    h.window.showRecord(records);
    EXPECT_FALSE(h.find(QStringLiteral("Label5"))->isVisible());
    h.window.setWidthTwips(settings::kWideWidthTwips);
    EXPECT_TRUE(h.find(QStringLiteral("Label5"))->isVisible());
    EXPECT_FALSE(h.find(QStringLiteral("Label2"))->isVisible());
}
