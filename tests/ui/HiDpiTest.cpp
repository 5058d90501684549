// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildTest.h"
#include "WindowHarness.h"

#include "ui/Artwork.h"

#include <gtest/gtest.h>

using uitest::WindowHarness;

// Runs in a child of this test program with QT_SCALE_FACTOR=2; on its own it is skipped.
TEST(HiDpiChild, grab_is_double_size_and_uses_the_double_size_art) {
    if (qEnvironmentVariable("CALC_HIDPI_CHILD") != QLatin1String("1")) {
        GTEST_SKIP() << "run by HiDpi.window_is_sharp_at_twice_the_density";
    }
    WindowHarness h;
    EXPECT_DOUBLE_EQ(h.window.devicePixelRatioF(), 2.0);
    const QPixmap grab = h.window.grab();
    EXPECT_EQ(grab.size(), QSize(528, 816));
    EXPECT_EQ(h.window.size(), QSize(264, 408));
    const QPixmap skin = ui::Artwork::pixmap(QStringLiteral("skin.jpg#1"));
    EXPECT_EQ(skin.size(), QSize(524, 816));
    EXPECT_DOUBLE_EQ(skin.devicePixelRatio(), 2.0);
    EXPECT_EQ(skin.deviceIndependentSize(), QSizeF(262, 408));
}

TEST(HiDpi, window_is_sharp_at_twice_the_density) {
    uitest::expectChildTestPasses(QStringLiteral("HiDpiChild.*"),
                                  {{QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2")},
                                   {QStringLiteral("CALC_HIDPI_CHILD"), QStringLiteral("1")}});
}
