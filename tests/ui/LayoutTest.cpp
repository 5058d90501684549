// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include <QLabel>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

struct Place {
    const char* name;
    QRect pixels;
};

// Every control at its laid-out place, in pixels of the window (the indicator: of the
// display), as the layout gives them after rounding twips to whole pixels.
const Place kPlaces[] = {
    {"Picture1_0", {16, 136, 47, 28}},
    {"Picture1_1", {64, 136, 47, 28}},
    {"Picture1_2", {112, 136, 47, 28}},
    {"Picture1_3", {16, 168, 47, 28}},
    {"Picture1_4", {64, 168, 47, 28}},
    {"Picture1_5", {112, 168, 47, 28}},
    {"Picture1_6", {16, 200, 47, 28}},
    {"Picture1_7", {64, 200, 47, 28}},
    {"Picture1_8", {112, 200, 47, 28}},
    {"Picture1_9", {16, 232, 47, 28}},
    {"Picture1_10", {64, 232, 47, 28}},
    {"Picture6", {112, 232, 47, 28}},
    {"Picture4_0", {16, 276, 47, 28}},
    {"Picture4_1", {64, 276, 47, 28}},
    {"Picture4_2", {112, 276, 47, 28}},
    {"Picture2_0", {176, 136, 73, 31}},
    {"Picture2_1", {176, 171, 73, 31}},
    {"Picture2_2", {176, 205, 73, 31}},
    {"Picture2_3", {176, 239, 73, 31}},
    {"Picture2_4", {176, 272, 73, 31}},
    {"Picture5", {15, 45, 232, 48}},
    {"Image8", {0, 0, 20, 16}},
    {"Image10", {8, 8, 32, 32}},
    {"Image1_0", {200, 11, 20, 18}},
    {"Image1_1", {224, 8, 20, 22}},
    {"Image9", {249, 107, 14, 189}},
    {"Label2", {384, 32, 11, 20}},
    {"Label5", {336, 40, 112, 14}},
    {"List1", {275, 56, 239, 306}},
    {"Label1", {280, 376, 28, 14}},
    {"Label4", {336, 376, 28, 14}},
    {"Label6", {384, 376, 70, 14}},
    // 停 rises a row above its laid-out box: the label grows a row above and below for it.
    {"Label3", {480, 375, 28, 16}},
};

} // namespace

TEST(Layout, every_control_sits_at_its_laid_out_place) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    for (const Place& place : kPlaces) {
        QWidget* control = h.find(QLatin1String(place.name));
        ASSERT_NE(control, nullptr) << place.name;
        EXPECT_EQ(control->geometry(), place.pixels) << place.name;
    }
}

TEST(Layout, window_is_frameless_and_narrow_at_first_start_and_named_for_the_taskbar) {
    WindowHarness h;
    EXPECT_TRUE(h.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("语音计算器"));
    EXPECT_FALSE(h.window.windowIcon().isNull());
    EXPECT_EQ(h.window.size(), QSize(264, 408));
    EXPECT_EQ(h.window.pos(), QPoint(237, 196));
}

TEST(Layout, saved_position_and_open_panel_are_restored) {
    WindowHarness h("1815,1260,#TRUE#,1,2,1\r\n");
    EXPECT_EQ(h.window.pos(), QPoint(121, 84));
    EXPECT_EQ(h.window.size(), QSize(528, 408));
    EXPECT_FLOAT_EQ(h.window.leftTwips(), 1815.0F);
    EXPECT_FLOAT_EQ(h.window.topTwips(), 1260.0F);
    EXPECT_FLOAT_EQ(h.window.widthTwips(), 7920.0F);
    EXPECT_FLOAT_EQ(h.window.heightTwips(), 6120.0F);
}

TEST(Layout, narrow_window_shows_the_tab_and_cuts_off_the_whole_panel) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    h.window.setWidthTwips(settings::kNarrowWidthTwips);
    const QRect window = h.window.rect();
    EXPECT_TRUE(window.contains(h.find(QStringLiteral("Image9"))->geometry()));
    for (const char* name : {"Label2", "Label5", "List1", "Label1", "Label4", "Label6", "Label3"}) {
        EXPECT_FALSE(window.intersects(h.find(QLatin1String(name))->geometry())) << name;
    }
}

TEST(Layout, panel_fits_inside_the_open_window) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    const QRect window = h.window.rect();
    for (const char* name : {"Label2", "List1", "Label1", "Label4", "Label6", "Label3"}) {
        QWidget* control = h.find(QLatin1String(name));
        EXPECT_TRUE(window.contains(control->geometry())) << name;
        EXPECT_TRUE(control->isVisible()) << name;
    }
}

TEST(Layout, start_up_shows_the_indicator_and_the_count_but_not_the_full_notice) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    EXPECT_TRUE(h.find(QStringLiteral("Image8"))->isVisible());
    auto* count = h.find<QLabel>(QStringLiteral("Label2"));
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(count->text(), QStringLiteral("0"));
    EXPECT_FALSE(h.find(QStringLiteral("Label5"))->isVisible());
}

TEST(Layout, tooltips_name_the_about_icon_and_the_record_tab) {
    WindowHarness h;
    EXPECT_EQ(h.find(QStringLiteral("Image10"))->toolTip(), QStringLiteral("关于"));
    EXPECT_EQ(h.find(QStringLiteral("Image9"))->toolTip(), QStringLiteral("开启记录功能"));
}

TEST(Layout, about_icon_has_its_own_pointer_with_the_hot_spot_near_its_tip) {
    WindowHarness h;
    const QCursor cursor = h.find(QStringLiteral("Image10"))->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(12, 1));
}
