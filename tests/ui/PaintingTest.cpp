// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pixels.h"
#include "WindowHarness.h"

#include "ui/Artwork.h"
#include "ui/DisplayBox.h"
#include "ui/KeyButton.h"
#include "ui/TitleButton.h"

#include <QTest>
#include <gtest/gtest.h>

using uitest::differenceBounds;
using uitest::framed;
using uitest::grabImage;
using uitest::WindowHarness;

namespace {

QImage bareKey(const ui::KeyButton& key, bool pressed) {
    const bool wide = key.info().group == engine::KeyGroup::Operators;
    const QString name = QStringLiteral("key-") + (wide ? "wide" : "small") +
                         (pressed ? "-pressed" : "") + QStringLiteral(".png");
    return framed(ui::Artwork::pixmap(name), key.size(), 1);
}

QImage bareDisplay(const QSize& size) {
    return framed(ui::Artwork::pixmap(QStringLiteral("display.png")), size, 0);
}

// Whether the colour is the ink a caption or the display is drawn in, allowing for the
// softened edges of the strokes.
bool strongly(QRgb pixel, int r, int g, int b) {
    return std::abs(qRed(pixel) - r) < 60 && std::abs(qGreen(pixel) - g) < 60 &&
           std::abs(qBlue(pixel) - b) < 60;
}

int countInk(const QImage& image, const QRect& area, int r, int g, int b) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += strongly(image.pixel(x, y), r, g, b) ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(KeyFaces, every_caption_is_drawn_inside_its_key_face_from_its_place) {
    WindowHarness h;
    for (const engine::KeyInfo& info : engine::keyTable()) {
        ui::KeyButton& key = *h.window.key(info.key);
        const QRect ink = differenceBounds(grabImage(key), bareKey(key, false));
        const QRect face = key.rect().adjusted(1, 1, -1, -1);
        ASSERT_FALSE(ink.isEmpty()) << info.accessibleName;
        EXPECT_TRUE(face.contains(ink)) << info.accessibleName;
        // Nothing is drawn left of or above the caption's place. A glyph may start a pixel
        // before its place when the place falls between two pixels.
        const QPointF origin = key.captionOrigin();
        EXPECT_GE(ink.left(), std::floor(origin.x()) - 1) << info.accessibleName;
        EXPECT_GE(ink.top(), std::floor(origin.y()) - 1) << info.accessibleName;
    }
}

TEST(KeyFaces, captions_are_white_and_the_equals_caption_cyan) {
    WindowHarness h;
    for (const engine::KeyInfo& info : engine::keyTable()) {
        ui::KeyButton& key = *h.window.key(info.key);
        const QImage image = grabImage(key);
        const QImage bare = bareKey(key, false);
        // The fullest stroke pixel shows the ink: the brightest of those the caption changed.
        QRgb ink = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (p != bare.pixel(x, y) && qGray(p) > qGray(ink)) {
                    ink = p;
                }
            }
        }
        if (info.cyanCaption) {
            EXPECT_TRUE(strongly(ink, 0, 255, 255)) << info.accessibleName;
        } else {
            EXPECT_TRUE(strongly(ink, 255, 255, 255)) << info.accessibleName;
        }
    }
}

TEST(KeyFaces, holding_a_key_shows_the_bare_pressed_face_and_releasing_restores_it) {
    WindowHarness h;
    for (const engine::Key k : {engine::Key::Five, engine::Key::Add, engine::Key::Clear}) {
        ui::KeyButton& key = *h.window.key(k);
        const QImage before = grabImage(key);
        QTest::mousePress(&key, Qt::LeftButton);
        EXPECT_TRUE(key.showsPressedFace());
        EXPECT_EQ(grabImage(key), bareKey(key, true)) << key.accessibleName().toStdString();
        QTest::mouseRelease(&key, Qt::LeftButton);
        EXPECT_FALSE(key.showsPressedFace());
        EXPECT_EQ(grabImage(key), before) << key.accessibleName().toStdString();
    }
}

TEST(KeyFaces, every_mouse_button_presses_but_only_the_left_one_clicks) {
    WindowHarness h;
    ui::KeyButton& five = *h.window.key(engine::Key::Five);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(&five, button);
        EXPECT_TRUE(five.showsPressedFace());
        QTest::mouseRelease(&five, button);
        EXPECT_FALSE(five.showsPressedFace());
        EXPECT_TRUE(five.showsCaption());
    }
    EXPECT_EQ(h.display(), "0");
    QTest::mouseClick(&five, Qt::LeftButton);
    EXPECT_EQ(h.display(), "5");
}

TEST(KeyFaces, a_quick_second_click_counts_as_a_click_of_its_own) {
    WindowHarness h;
    ui::KeyButton& one = *h.window.key(engine::Key::One);
    QTest::mouseClick(&one, Qt::LeftButton);
    QTest::mouseDClick(&one, Qt::LeftButton);
    QTest::mouseRelease(&one, Qt::LeftButton);
    EXPECT_EQ(h.display(), "11");
    EXPECT_FALSE(one.showsPressedFace());
}

TEST(KeyFaces, releasing_elsewhere_restores_the_face_but_does_not_click) {
    WindowHarness h;
    ui::KeyButton& five = *h.window.key(engine::Key::Five);
    const QImage before = grabImage(five);
    QTest::mousePress(&five, Qt::LeftButton);
    QTest::mouseRelease(&five, Qt::LeftButton, {}, QPoint(120, -40));
    EXPECT_EQ(grabImage(five), before);
    EXPECT_EQ(h.display(), "0");
}

TEST(KeyFaces, the_sign_key_shows_no_pressed_face) {
    WindowHarness h;
    ui::KeyButton& sign = *h.window.key(engine::Key::Sign);
    const QImage before = grabImage(sign);
    QTest::mousePress(&sign, Qt::LeftButton);
    EXPECT_FALSE(sign.showsPressedFace());
    EXPECT_EQ(grabImage(sign), before);
    QTest::mouseRelease(&sign, Qt::LeftButton);
    EXPECT_EQ(grabImage(sign), before);
}

TEST(KeyFaces, a_release_on_any_key_paints_the_captions_of_all_keys) {
    // A window nobody has painted captions on yet.
    ui::CalculatorWindow window;
    for (const engine::KeyInfo& info : engine::keyTable()) {
        EXPECT_FALSE(window.key(info.key)->showsCaption());
    }
    QTest::mouseClick(window.key(engine::Key::Add), Qt::LeftButton);
    for (const engine::KeyInfo& info : engine::keyTable()) {
        EXPECT_TRUE(window.key(info.key)->showsCaption()) << info.accessibleName;
    }
}

TEST(Display, shows_zero_right_aligned_at_start) {
    WindowHarness h;
    ui::DisplayBox& box = *h.window.display();
    EXPECT_EQ(box.text(), QStringLiteral("0"));
    EXPECT_EQ(box.textOrigin(), QPointF(3159 / 15.0, 170 / 15.0));
    QImage image = grabImage(box);
    // The indicator covers the display's corner; the number lies well clear of it.
    const QRect ink =
        differenceBounds(image, bareDisplay(box.size()), QRect(40, 0, box.width(), box.height()));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 210);
    EXPECT_LE(ink.left(), 216);
    EXPECT_GE(ink.top(), 11);
    EXPECT_LE(ink.bottom(), box.height() - 1);
    EXPECT_GT(countInk(image, ink, 0, 0, 255), 10);
}

TEST(Display, text_is_right_aligned_by_counting_characters) {
    WindowHarness h;
    h.typeText(QStringLiteral("123.45"));
    ui::DisplayBox& box = *h.window.display();
    EXPECT_EQ(box.text(), QStringLiteral("123.45"));
    EXPECT_DOUBLE_EQ(box.textOrigin().x(), 1944 / 15.0);
    const QRect ink = differenceBounds(grabImage(box), bareDisplay(box.size()),
                                       QRect(40, 0, box.width(), box.height()));
    EXPECT_GE(ink.left(), 129);
    EXPECT_LE(ink.left(), 134);
    // Six slots of 243 twips end at 3402 twips: 226.8 px.
    EXPECT_LE(ink.right(), 228);
    EXPECT_GE(ink.right(), 200);
}

TEST(Display, a_new_colour_shows_from_the_next_drawing_on) {
    WindowHarness h;
    ui::DisplayBox& box = *h.window.display();
    h.window.setDisplayColour({255, 0, 255});
    EXPECT_EQ(box.paintedColour(), QColor(0, 0, 255));
    h.typeText(QStringLiteral("7"));
    EXPECT_EQ(box.paintedColour(), QColor(255, 0, 255));
    const QImage image = grabImage(box);
    EXPECT_GT(countInk(image, QRect(40, 0, box.width() - 40, box.height()), 255, 0, 255), 10);
}

namespace {

struct InkEdges {
    int exact = 0;                // pixels of exactly the chosen colour
    double weakestContrast = 1e9; // the least contrast a glyph edge has with its surroundings
};

// Every pixel of exactly the text colour that borders on another colour is an edge of a
// glyph; what makes the edge legible is the darkest pixel within two pixels of it.
InkEdges inkEdges(const QImage& image, const QRect& area, QRgb colour) {
    InkEdges edges;
    const auto is = [&](int x, int y) {
        return image.rect().contains(x, y) && image.pixel(x, y) == colour;
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!is(x, y)) {
                continue;
            }
            ++edges.exact;
            if (is(x - 1, y) && is(x + 1, y) && is(x, y - 1) && is(x, y + 1)) {
                continue;
            }
            QRgb darkest = colour;
            const QRect around = QRect(x - 2, y - 2, 5, 5).intersected(image.rect());
            for (int v = around.top(); v <= around.bottom(); ++v) {
                for (int u = around.left(); u <= around.right(); ++u) {
                    if (uitest::luminance(image.pixel(u, v)) < uitest::luminance(darkest)) {
                        darkest = image.pixel(u, v);
                    }
                }
            }
            edges.weakestContrast =
                std::min(edges.weakestContrast, uitest::contrastRatio(colour, darkest));
        }
    }
    return edges;
}

} // namespace

TEST(Display, text_keeps_its_exact_colour_and_a_dark_rim_sets_pale_colours_off) {
    struct Row {
        const char* what;
        settings::Rgb colour;
        // Blue is darker than any rim and reads against the light face by itself.
        double edgeContrast;
    };
    const Row rows[] = {
        {"blue", {0, 0, 255}, 1.0},
        {"magenta", {255, 0, 255}, 3.5},
        // On the face alone cyan reaches only about 1.4:1.
        {"cyan", {0, 255, 255}, 4.5},
    };
    for (const Row& row : rows) {
        WindowHarness h;
        h.window.setDisplayColour(row.colour);
        h.window.paintDisplay({"1234567.89", 810, 170});
        ui::DisplayBox& box = *h.window.display();
        EXPECT_EQ(box.textOrigin(), QPointF(54, 170 / 15.0)) << row.what;
        const QImage image = grabImage(box);
        const InkEdges edges = inkEdges(image, QRect(40, 0, box.width() - 40, box.height()),
                                        qRgb(row.colour.red, row.colour.green, row.colour.blue));
        EXPECT_GT(edges.exact, 200) << row.what;
        EXPECT_GE(edges.weakestContrast, row.edgeContrast) << row.what;
    }
}

TEST(Display, long_text_is_cut_at_the_right_edge) {
    WindowHarness h;
    engine::DisplayLayout layout{"E-13717421001111.1", 0, 170};
    h.window.paintDisplay(layout);
    ui::DisplayBox& box = *h.window.display();
    const QImage image = grabImage(box);
    EXPECT_EQ(image.size(), QSize(232, 48));
    // Ink reaches the last column: the text runs on past it.
    const QRect ink = differenceBounds(image, bareDisplay(box.size()));
    EXPECT_GE(ink.right(), box.width() - 4);
}

TEST(TitleButtons, hover_lights_a_button_until_the_pointer_crosses_the_background) {
    WindowHarness h;
    ui::TitleButton& close = *h.window.titleButton(1);
    ui::TitleButton& minimise = *h.window.titleButton(0);
    const QImage normal = grabImage(close);
    QTest::mouseMove(&close, QPoint(5, 5));
    EXPECT_TRUE(close.showsHoverFace());
    EXPECT_NE(grabImage(close), normal);
    EXPECT_FALSE(h.program.calculator().state().noTitleHover);
    QTest::mouseMove(&h.window, QPoint(150, 20));
    EXPECT_FALSE(close.showsHoverFace());
    EXPECT_FALSE(minimise.showsHoverFace());
    EXPECT_EQ(grabImage(close), normal);
}

TEST(TitleButtons, clearing_the_calculator_keeps_a_lit_button_lit_over_the_background) {
    WindowHarness h;
    ui::TitleButton& close = *h.window.titleButton(1);
    QTest::mouseMove(&close, QPoint(5, 5));
    // Straight onto the clear key, and clear: the calculator's reset forgets the hover.
    QTest::mouseMove(h.window.key(engine::Key::Clear), QPoint(10, 10));
    QTest::mouseClick(h.window.key(engine::Key::Clear), Qt::LeftButton);
    QTest::mouseMove(&h.window, QPoint(150, 20));
    EXPECT_TRUE(close.showsHoverFace());
    // Over a title button again, then the background: both go back to normal.
    QTest::mouseMove(h.window.titleButton(0), QPoint(5, 5));
    QTest::mouseMove(&h.window, QPoint(150, 20));
    EXPECT_FALSE(close.showsHoverFace());
    EXPECT_FALSE(h.window.titleButton(0)->showsHoverFace());
}
