// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "ui/AboutWindow.h"
#include "ui/OptionsMenu.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

ui::AboutWindow* openFromIcon(WindowHarness& h) {
    QTest::mouseClick(h.find(QStringLiteral("Image10")), Qt::LeftButton);
    return h.window.aboutWindow();
}

bool closes(WindowHarness& h) {
    return QTest::qWaitFor([&] { return h.window.aboutWindow() == nullptr; }, 2000);
}

} // namespace

TEST(AboutWindow, opens_beside_the_main_window_without_a_sound) {
    const std::pair<QByteArray, QPoint> rows[] = {
        {"3555,2940,#FALSE#,1,2,1\r\n", {237 - 40, 196 + 120}},
        {"0,0,#FALSE#,1,2,1\r\n", {-40, 120}}, // partly off the screen, left so
    };
    for (const auto& [settingsLine, place] : rows) {
        WindowHarness h(settingsLine);
        h.player.played.clear();
        ui::AboutWindow* about = openFromIcon(h);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->pos(), place);
        EXPECT_TRUE(about->isVisible());
        EXPECT_TRUE(h.player.played.empty());
    }
}

TEST(AboutWindow, is_a_plain_titled_window_of_its_own) {
    WindowHarness h;
    ui::AboutWindow* about = openFromIcon(h);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Form2"));
    EXPECT_EQ(about->accessibleName(), QStringLiteral("关于语音计算器"));
    EXPECT_EQ(about->size(), QSize(345, 195));
    EXPECT_EQ(about->parentWidget(), nullptr);
    EXPECT_FALSE(about->isModal());
    EXPECT_FALSE(about->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(AboutWindow, shows_the_help_lines_exactly) {
    WindowHarness h;
    ui::AboutWindow* about = openFromIcon(h);
    const char* lines[] = {
        "这是一款功能齐全的软件，有语音报数，可记录300次",
        "计算过程。还支持键盘输入，能有效避免计算中出错。",
        "键盘输入时，等号可用Enter输入，清空是空格键。",
    };
    const QPoint places[] = {{24, 120}, {24, 142}, {24, 165}};
    for (int i = 0; i < 3; ++i) {
        auto* label = about->findChild<QLabel*>(QStringLiteral("Label2_%1").arg(i));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(lines[i]));
        EXPECT_EQ(label->pos(), places[i]);
        EXPECT_TRUE(QRect(8, 112, 313, 73).contains(label->geometry())) << i;
    }
    for (int i = 0; i < 4; ++i) {
        auto* label = about->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->x(), 96);
        EXPECT_FALSE(label->text().isEmpty());
        EXPECT_EQ(label->font().italic(), i == 1);
    }
}

TEST(AboutWindow, opening_it_again_leaves_it_where_it_is) {
    WindowHarness h;
    ui::AboutWindow* about = openFromIcon(h);
    about->move(10, 20);
    h.window.move(300, 300);
    EXPECT_EQ(openFromIcon(h), about);
    EXPECT_EQ(about->pos(), QPoint(10, 20));
}

TEST(AboutWindow, a_click_on_a_label_leaves_it_open) {
    WindowHarness h;
    ui::AboutWindow* about = openFromIcon(h);
    QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("Label2_1")), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("Label1_0")), Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_EQ(h.window.aboutWindow(), about);
    EXPECT_TRUE(about->isVisible());
}

TEST(AboutWindow, a_click_on_the_background_closes_it_also_inside_the_frame) {
    for (const QPoint place : {QPoint(20, 10), QPoint(316, 180), QPoint(300, 60)}) {
        WindowHarness h;
        ui::AboutWindow* about = openFromIcon(h);
        QTest::mouseClick(about, Qt::LeftButton, {}, place);
        EXPECT_TRUE(closes(h)) << place.x() << "," << place.y();
    }
}

TEST(AboutWindow, closing_it_gives_the_main_window_back_its_outline) {
    WindowHarness h;
    ui::AboutWindow* about = openFromIcon(h);
    h.window.clearMask();
    about->close();
    EXPECT_TRUE(closes(h));
    EXPECT_FALSE(h.window.mask().isEmpty());
    EXPECT_FALSE(h.window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.window.isActiveWindow(); }, 2000));
}

TEST(AboutWindow, the_menu_item_plays_the_menu_sound_and_opens_it) {
    WindowHarness h;
    h.player.played.clear();
    h.window.optionsMenu()->action(settings::MenuItem::about)->trigger();
    ASSERT_NE(h.window.aboutWindow(), nullptr);
    EXPECT_EQ(h.player.played.size(), 1U);
}
