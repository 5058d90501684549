// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "ui/DisplayBox.h"
#include "ui/DisplayMenu.h"
#include "ui/OptionsMenu.h"
#include "ui/PopupSkin.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

using settings::MenuItem;
using uitest::WindowHarness;

namespace {

struct ItemRow {
    const char* caption; // "-" for a separator
    bool checked;
};

// Captions and check marks as the menu first shows them.
const ItemRow kItems[] = {
    {"语音报数", true},      {"开启记录", false},      {"键盘输入", true},      {"-", false},
    {"字体蓝色", true},      {"字体红色", false},      {"字体青色", false},     {"-", false},
    {"保留2位小数", false},  {"保留4位小数", true},    {"全部保留", false},     {"-", false},
    {"读小数点后2位", true}, {"读小数点后4位", false}, {"小数点后不读", false}, {"-", false},
    {"关于/帮助", false},    {"退出", false},
};

std::vector<MenuItem> checkedItems(const ui::OptionsMenu& menu) {
    std::vector<MenuItem> items;
    for (const settings::MenuItemInfo& info : settings::menuItems()) {
        if (menu.action(info.item)->isChecked()) {
            items.push_back(info.item);
        }
    }
    return items;
}

} // namespace

TEST(OptionsMenu, has_its_items_separators_and_first_check_marks_in_order) {
    ui::OptionsMenu menu(nullptr);
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(kItems)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const ItemRow& row = kItems[i];
        const bool separator = std::string(row.caption) == "-";
        EXPECT_EQ(actions[i]->isSeparator(), separator) << i;
        if (!separator) {
            EXPECT_EQ(actions[i]->text(), QString::fromUtf8(row.caption)) << i;
        }
        EXPECT_EQ(actions[i]->isChecked(), row.checked) << i;
        EXPECT_TRUE(actions[i]->isEnabled()) << i;
        EXPECT_TRUE(actions[i]->shortcut().isEmpty()) << i;
        EXPECT_EQ(actions[i]->menu(), nullptr) << i;
        // Check marks, not radio dots: no item belongs to an exclusive group.
        EXPECT_EQ(actions[i]->actionGroup(), nullptr) << i;
    }
    EXPECT_EQ(menu.title(), QStringLiteral("选项"));
}

TEST(OptionsMenu, choosing_an_item_leaves_the_check_marks_to_the_program) {
    ui::OptionsMenu menu(nullptr);
    std::vector<MenuItem> chosen;
    QObject::connect(&menu, &ui::OptionsMenu::chosen,
                     [&](MenuItem item) { chosen.push_back(item); });
    menu.action(MenuItem::munb)->trigger();
    menu.action(MenuItem::munr)->trigger();
    EXPECT_TRUE(menu.action(MenuItem::munb)->isChecked());
    EXPECT_FALSE(menu.action(MenuItem::munr)->isChecked());
    EXPECT_EQ(chosen, (std::vector<MenuItem>{MenuItem::munb, MenuItem::munr}));
}

TEST(OptionsMenu, colour_items_move_the_mark_and_repaint_the_number) {
    WindowHarness h;
    h.typeText(QStringLiteral("8"));
    ui::OptionsMenu& menu = *h.window.optionsMenu();
    const std::pair<MenuItem, QColor> rows[] = {
        {MenuItem::munr, QColor(255, 0, 255)},
        {MenuItem::munq, QColor(0, 255, 255)},
        {MenuItem::munb, QColor(0, 0, 255)},
    };
    for (const auto& [item, colour] : rows) {
        menu.action(item)->trigger();
        EXPECT_TRUE(menu.action(item)->isChecked());
        EXPECT_EQ(h.window.display()->paintedColour(), colour);
        EXPECT_EQ(h.window.display()->text(), QStringLiteral("8"));
    }
    EXPECT_EQ(checkedItems(menu),
              (std::vector<MenuItem>{MenuItem::mensenyin, MenuItem::munkeey, MenuItem::munb,
                                     MenuItem::munt4, MenuItem::munread2}));
}

// A mark beside each checked item and nothing beside the others, in the skin's colours.
TEST(OptionsMenu, draws_a_check_mark_only_beside_checked_items) {
    WindowHarness h;
    ui::OptionsMenu& menu = *h.window.optionsMenu();
    EXPECT_EQ(menu.palette().color(QPalette::Window), QColor(ui::PopupSkin::kFace));
    const QImage picture = menu.grab().toImage();
    constexpr int kCheckColumn = 22; // from the frame to the captions
    const qreal ratio = picture.devicePixelRatio();
    for (const settings::MenuItemInfo& info : settings::menuItems()) {
        if (!info.checkable) {
            continue;
        }
        const QRect row = menu.actionGeometry(menu.action(info.item));
        const QRgb background = picture.pixel(QPoint(row.right() - 2, row.center().y()) * ratio);
        bool marked = false;
        bool blank = true;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left() + 2; x < row.left() + kCheckColumn; ++x) {
                const QRgb pixel = picture.pixel(QPoint(x, y) * ratio);
                marked = marked || (pixel & 0xffffff) == ui::PopupSkin::kCheckMark;
                blank = blank && pixel == background;
            }
        }
        EXPECT_EQ(marked, info.checkedAtStart) << info.caption;
        EXPECT_EQ(blank, !info.checkedAtStart) << info.caption;
    }
}

TEST(OptionsMenu, the_options_key_pops_the_menu_up) {
    WindowHarness h;
    ui::OptionsMenu& menu = *h.window.optionsMenu();
    EXPECT_FALSE(menu.isVisible());
    QTest::mouseClick(h.window.key(engine::Key::Options), Qt::LeftButton);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(OptionsMenu, opens_at_the_pointer_over_the_window_and_else_below_the_options_key) {
    using Kind = ui::WindowSystem::Kind;
    struct Row {
        const char* what;
        Kind system;
        QPoint pointer; // in the window's own pixels
        bool atPointer;
    };
    const Row rows[] = {
        {"X11, pointer on the options key", Kind::SelfPlacing, {140, 290}, true},
        {"X11, pointer over the background", Kind::SelfPlacing, {150, 20}, true},
        {"X11, pointer beside the window", Kind::SelfPlacing, {-100, 20}, false},
        // The pointer's place on the desktop is not known under a compositor.
        {"compositor, pointer on the options key", Kind::Compositor, {140, 290}, false},
    };
    for (const Row& row : rows) {
        WindowHarness h({}, row.system);
        const QPoint pointer = h.window.mapToGlobal(row.pointer);
        QCursor::setPos(pointer);
        ASSERT_EQ(QCursor::pos(), pointer) << row.what;
        const ui::KeyButton& options = *h.window.key(engine::Key::Options);
        const QPoint belowKey = options.mapToGlobal(QPoint(0, options.height()));
        EXPECT_EQ(h.window.optionsMenuPlace(), row.atPointer ? pointer : belowKey) << row.what;
    }
}

TEST(OptionsMenu, voice_item_hides_the_indicator_and_record_item_widens_the_window) {
    WindowHarness h;
    ui::OptionsMenu& menu = *h.window.optionsMenu();
    menu.action(MenuItem::mensenyin)->trigger();
    EXPECT_FALSE(h.find(QStringLiteral("Image8"))->isVisible());
    EXPECT_FALSE(menu.action(MenuItem::mensenyin)->isChecked());
    menu.action(MenuItem::munkai)->trigger();
    EXPECT_EQ(h.window.width(), 528);
    EXPECT_TRUE(menu.action(MenuItem::munkai)->isChecked());
}

TEST(DisplayMenu, opens_on_a_right_press_only_and_shows_the_program_s_state) {
    WindowHarness h;
    h.program.menuChosen(MenuItem::munkeey); // keyboard input off
    h.program.chooseReadingStyle(engine::ReadingStyle::PlaceUnits);
    QTest::keyClick(h.window.display(), Qt::Key_Menu);
    EXPECT_TRUE(h.window.optionsMenu()->isVisible()) << "the Menu key is the options menu's";
    EXPECT_FALSE(h.window.displayMenu()->isVisible());
    h.window.optionsMenu()->hide();

    QTest::mousePress(h.window.display(), Qt::RightButton, {}, QPoint(20, 20));
    ui::DisplayMenu* menu = h.window.displayMenu();
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000));
    EXPECT_EQ(menu->style(), h.window.optionsMenu()->style()) << "skinned as the options menu";
    EXPECT_FALSE(menu->pasteItem()->isEnabled());
    EXPECT_TRUE(menu->placeUnitsItem()->isChecked());
    EXPECT_FALSE(menu->digitsItem()->isChecked());
    EXPECT_EQ(menu->readCalculationItem()->text(), QStringLiteral("读出算式\tF6"));
    EXPECT_TRUE(menu->readCalculationItem()->shortcut().isEmpty()) << "the window's key only";
    menu->digitsItem()->trigger();
    EXPECT_EQ(h.program.readingStyle(), engine::ReadingStyle::Digits);
    menu->hide();
}
