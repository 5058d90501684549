// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "platform/WindowShape.h"

#include <QTest>
#include <gtest/gtest.h>

using platform::WindowShape;
using uitest::WindowHarness;

namespace {

// Points of a w × h window with a 24 × 24 corner ellipse: the very corners and the pixels
// just outside the ellipse's arc are cut; the centre, the middles of the edges and the
// pixels just inside the arc are kept.
void expectRounded(const QRegion& region, int w, int h) {
    const QPoint cut[] = {{0, 0},     {w - 1, 0}, {0, h - 1},     {w - 1, h - 1}, {2, 2},
                          {w - 3, 2}, {2, h - 3}, {w - 3, h - 3}, {1, 4},         {4, 1}};
    for (const QPoint& p : cut) {
        EXPECT_FALSE(region.contains(p)) << w << " wide, " << p.x() << "," << p.y();
    }
    const QPoint kept[] = {{w / 2, h / 2}, {w / 2, 0}, {w / 2, h - 1}, {0, h / 2},
                           {w - 1, h / 2}, {12, 0},    {0, 12},        {5, 5},
                           {w - 6, 5},     {5, h - 6}, {w - 6, h - 6}};
    for (const QPoint& p : kept) {
        EXPECT_TRUE(region.contains(p)) << w << " wide, " << p.x() << "," << p.y();
    }
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, w, h));
}

} // namespace

TEST(WindowShape, rounded_rect_cuts_the_corners_outside_the_ellipse) {
    for (const int w : {264, 528}) {
        expectRounded(WindowShape::roundedRect(w, 408, 24, 24), w, 408);
    }
}

TEST(WindowShape, degenerate_sizes_give_a_sane_region) {
    EXPECT_TRUE(WindowShape::roundedRect(0, 408, 24, 24).isEmpty());
    EXPECT_TRUE(WindowShape::roundedRect(264, -1, 24, 24).isEmpty());
    // An ellipse larger than the window is clamped to it rather than spilling over.
    EXPECT_EQ(WindowShape::roundedRect(10, 10, 24, 24).boundingRect(), QRect(0, 0, 10, 10));
    EXPECT_EQ(WindowShape::roundedRect(10, 10, 0, 0), QRegion(0, 0, 10, 10));
}

TEST(WindowShape, window_mask_follows_every_width_change) {
    WindowHarness h;
    expectRounded(h.window.mask(), 264, 408);
    h.window.setWidthTwips(settings::kWideWidthTwips);
    expectRounded(h.window.mask(), 528, 408);
    h.window.setWidthTwips(settings::kNarrowWidthTwips);
    expectRounded(h.window.mask(), 264, 408);
}

TEST(WindowShape, opening_the_panel_from_the_tab_rounds_all_four_corners) {
    WindowHarness h;
    QTest::mouseClick(h.find(QStringLiteral("Image9")), Qt::LeftButton);
    EXPECT_EQ(h.window.width(), 528);
    expectRounded(h.window.mask(), 528, 408);
    QTest::mouseClick(h.find(QStringLiteral("Label3")), Qt::LeftButton);
    EXPECT_EQ(h.window.width(), 264);
    expectRounded(h.window.mask(), 264, 408);
}

TEST(WindowShape, activation_rebuilds_the_outline) {
    WindowHarness h;
    h.window.clearMask();
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(1);
    h.window.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.window.isActiveWindow(); }, 2000));
    expectRounded(h.window.mask(), 264, 408);
}

namespace {

// Every pixel of the four 24 × 24 corner squares of a grab: opaque inside the outline,
// fully transparent outside it. Returns how many pixels disagree.
int cornerPixelsOffOutline(const QImage& image, const QRegion& outline) {
    const int w = image.width();
    const int h = image.height();
    const QRect corners[] = {
        {0, 0, 24, 24}, {w - 24, 0, 24, 24}, {0, h - 24, 24, 24}, {w - 24, h - 24, 24, 24}};
    int wrong = 0;
    for (const QRect& corner : corners) {
        for (int y = corner.top(); y <= corner.bottom(); ++y) {
            for (int x = corner.left(); x <= corner.right(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                wrong += (outline.contains(QPoint(x, y)) ? alpha != 255 : alpha != 0) ? 1 : 0;
            }
        }
    }
    return wrong;
}

} // namespace

TEST(WindowShape, under_a_compositor_the_corners_are_left_unpainted_and_take_no_mouse) {
    WindowHarness h({}, ui::WindowSystem::Kind::Compositor);
    EXPECT_TRUE(h.window.testAttribute(Qt::WA_TranslucentBackground));
    for (const int width : {settings::kWideWidthTwips, settings::kNarrowWidthTwips}) {
        h.window.setWidthTwips(width);
        const int w = h.window.width();
        // The mask still keeps the mouse out of the corners.
        expectRounded(h.window.mask(), w, 408);
        const QImage image = h.window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(w, 408));
        EXPECT_EQ(cornerPixelsOffOutline(image, WindowShape::roundedRect(w, 408, 24, 24)), 0) << w;
        EXPECT_EQ(qAlpha(image.pixel(w / 2, 204)), 255) << w;
    }
}

TEST(WindowShape, on_x11_the_window_is_opaque_and_its_mask_does_the_cutting) {
    WindowHarness h;
    EXPECT_FALSE(h.window.testAttribute(Qt::WA_TranslucentBackground));
    expectRounded(h.window.mask(), 264, 408);
}
