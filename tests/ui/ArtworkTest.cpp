// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the generated artwork against what the windows need from it: exact pixel sizes (the
// layout places every picture unscaled), sharp double-size versions, faces that keep the painted
// captions and display text legible, and visible state changes between normal and pressed or
// hovered faces.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

QImage loadArt(const std::string& name) {
    return QImage(QString::fromUtf8(ART_SOURCE_DIR) + QLatin1Char('/') +
                  QString::fromStdString(name));
}

// "key-small.png" -> "key-small@2x.png"
std::string doubleSizeName(const std::string& name) {
    const auto dot = name.rfind('.');
    return name.substr(0, dot) + "@2x" + name.substr(dot);
}

double linearChannel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance as used for text contrast on screens.
double luminance(QRgb rgb) {
    return 0.2126 * linearChannel(qRed(rgb)) + 0.7152 * linearChannel(qGreen(rgb)) +
           0.0722 * linearChannel(qBlue(rgb));
}

double contrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The part of a face where painted text can fall: all but a rim of `margin` pixels at 1x,
// doubled on a double-size picture whose 1x width is `baseWidth`.
QRect centralRegion(const QImage& image, int baseWidth, int margin) {
    const int scaled = margin * image.width() / baseWidth;
    return image.rect().adjusted(scaled, scaled, -scaled, -scaled);
}

std::vector<double> luminances(const QImage& image, const QRect& region) {
    std::vector<double> values;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            values.push_back(luminance(image.pixel(x, y)));
        }
    }
    return values;
}

double meanOf(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) {
        sum += v;
    }
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

double maxOf(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double meanLuminance(const QImage& image) {
    return meanOf(luminances(image, image.rect()));
}

std::string atScale(const std::string& name, int scale) {
    return scale == 1 ? name : doubleSizeName(name);
}

// Both the 1x name and its double-size twin, with the scale each is drawn at.
struct Scaled {
    std::string name;
    int scale;
};

std::vector<Scaled> bothScales(const std::string& name) {
    return {{name, 1}, {doubleSizeName(name), 2}};
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kCyan = qRgb(0, 255, 255);
const QRgb kBlue = qRgb(0, 0, 255);
const double kMinimumTextContrast = 4.5;

struct PictureSpec {
    std::string name;
    int width;
    int height;
    bool hasDoubleSize;
    bool opaque; // copied onto controls as a whole, so nothing may show through
};

const std::vector<PictureSpec> kPictures = {
    {"skin.jpg", 526, 408, true, true},
    {"display.png", 232, 48, true, true},
    {"key-small.png", 45, 26, true, true},
    {"key-small-pressed.png", 45, 26, true, true},
    {"key-wide.png", 71, 29, true, true},
    {"key-wide-pressed.png", 71, 29, true, true},
    {"minimise.png", 20, 18, true, true},
    {"minimise-hover.png", 20, 18, true, true},
    {"close.png", 20, 22, true, true},
    {"close-hover.png", 20, 22, true, true},
    {"about-icon.png", 32, 32, true, true},
    {"about-cursor.png", 32, 32, true, false},
    {"record-tab.jpg", 14, 189, true, true},
    {"voice-indicator.gif", 20, 16, true, false},
    {"window-icon.png", 32, 32, true, false},
    {"about-background.jpg", 345, 196, true, true},
    {"app-icon-16.png", 16, 16, false, false},
    {"app-icon-32.png", 32, 32, false, false},
    {"app-icon-48.png", 48, 48, false, false},
    {"app-icon-64.png", 64, 64, false, false},
    {"app-icon-128.png", 128, 128, false, false},
    {"app-icon-256.png", 256, 256, false, false},
};

TEST(Artwork, every_picture_has_its_laid_out_size_and_its_double_is_exactly_twice) {
    for (const auto& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        const QImage image = loadArt(picture.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), picture.width);
        EXPECT_EQ(image.height(), picture.height);
        if (picture.hasDoubleSize) {
            const QImage twice = loadArt(doubleSizeName(picture.name));
            ASSERT_FALSE(twice.isNull()) << doubleSizeName(picture.name);
            EXPECT_EQ(twice.width(), 2 * picture.width);
            EXPECT_EQ(twice.height(), 2 * picture.height);
        }
    }
}

TEST(Artwork, pictures_laid_over_controls_whole_are_opaque) {
    for (const auto& picture : kPictures) {
        if (!picture.opaque) {
            continue;
        }
        for (const auto& [name, scale] : bothScales(picture.name)) {
            SCOPED_TRACE(name);
            const QImage image = loadArt(name);
            ASSERT_FALSE(image.isNull());
            EXPECT_FALSE(image.hasAlphaChannel());
        }
    }
}

// A channel of `rgb` as seen over mid grey, so that transparent pixels compare equal whatever
// colour they happen to carry.
double overGrey(QRgb rgb, int channel) {
    const double alpha = qAlpha(rgb) / 255.0;
    return channel * alpha + 128.0 * (1.0 - alpha);
}

// Mean difference per channel, 0 to 255, between a picture and its double-size twin shrunk by
// averaging each 2x2 block.
double differenceFromShrunkTwin(const QImage& once, const QImage& twice) {
    double total = 0;
    for (int y = 0; y < once.height(); ++y) {
        for (int x = 0; x < once.width(); ++x) {
            double r = 0;
            double g = 0;
            double b = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb p = twice.pixel(2 * x + dx, 2 * y + dy);
                    r += overGrey(p, qRed(p)) / 4;
                    g += overGrey(p, qGreen(p)) / 4;
                    b += overGrey(p, qBlue(p)) / 4;
                }
            }
            const QRgb q = once.pixel(x, y);
            total += std::abs(r - overGrey(q, qRed(q))) + std::abs(g - overGrey(q, qGreen(q))) +
                     std::abs(b - overGrey(q, qBlue(q)));
        }
    }
    return total / (3.0 * once.width() * once.height());
}

TEST(Artwork, double_size_pictures_show_the_same_picture) {
    // Small differences come from finer drawing and text hinting; a twin left over from another
    // design, or the wrong state of a face, differs by 40 or more.
    for (const auto& picture : kPictures) {
        if (!picture.hasDoubleSize) {
            continue;
        }
        SCOPED_TRACE(picture.name);
        const QImage once = loadArt(picture.name).convertToFormat(QImage::Format_ARGB32);
        const QImage twice =
            loadArt(doubleSizeName(picture.name)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(once.isNull());
        ASSERT_EQ(twice.size(), once.size() * 2);
        EXPECT_LE(differenceFromShrunkTwin(once, twice), 12.0);
    }
}

struct StatePair {
    std::string normal;
    std::string other;
};

TEST(Artwork, pressed_key_faces_are_clearly_darker_than_normal_ones) {
    const std::vector<StatePair> pairs = {{"key-small.png", "key-small-pressed.png"},
                                          {"key-wide.png", "key-wide-pressed.png"}};
    for (const auto& pair : pairs) {
        for (int scale : {1, 2}) {
            SCOPED_TRACE(atScale(pair.other, scale));
            const double normal = meanLuminance(loadArt(atScale(pair.normal, scale)));
            const double pressed = meanLuminance(loadArt(atScale(pair.other, scale)));
            EXPECT_LT(pressed, normal);
            EXPECT_GE((normal - pressed) / normal, 0.10);
        }
    }
}

TEST(Artwork, hovered_title_buttons_light_up_and_close_turns_red) {
    const std::vector<StatePair> pairs = {{"minimise.png", "minimise-hover.png"},
                                          {"close.png", "close-hover.png"}};
    for (const auto& pair : pairs) {
        for (int scale : {1, 2}) {
            SCOPED_TRACE(atScale(pair.other, scale));
            const double normal = meanLuminance(loadArt(atScale(pair.normal, scale)));
            EXPECT_GE(meanLuminance(loadArt(atScale(pair.other, scale))), 1.10 * normal);
        }
    }
    for (const auto& [name, scale] : bothScales("close-hover.png")) {
        SCOPED_TRACE(name);
        const QImage image = loadArt(name);
        const QRgb centre = image.pixel(image.width() / 2, 3 * scale);
        EXPECT_GT(qRed(centre), 2 * qGreen(centre));
    }
}

struct CaptionCase {
    std::string face;
    int baseWidth;
    QRgb textColour;
    const char* label;
};

TEST(Artwork, key_captions_stand_out_from_every_pixel_under_them) {
    // White captions on every key, cyan on equals (a wide key).
    const std::vector<CaptionCase> cases = {
        {"key-small.png", 45, kWhite, "white on small key"},
        {"key-wide.png", 71, kWhite, "white on wide key"},
        {"key-wide.png", 71, kCyan, "cyan on equals key"},
    };
    for (const auto& c : cases) {
        for (const auto& [name, scale] : bothScales(c.face)) {
            SCOPED_TRACE(std::string(c.label) + " " + name);
            const QImage face = loadArt(name);
            ASSERT_FALSE(face.isNull());
            const double lightest = maxOf(luminances(face, centralRegion(face, c.baseWidth, 4)));
            EXPECT_GE(contrastRatio(luminance(c.textColour), lightest), kMinimumTextContrast);
        }
    }
}

TEST(Artwork, default_blue_display_text_reads_clearly) {
    for (const auto& [name, scale] : bothScales("display.png")) {
        SCOPED_TRACE(name);
        const QImage face = loadArt(name);
        ASSERT_FALSE(face.isNull());
        const double average = meanOf(luminances(face, centralRegion(face, 232, 4)));
        EXPECT_GE(contrastRatio(luminance(kBlue), average), kMinimumTextContrast);
    }
}

TEST(Artwork, about_window_text_areas_stay_dark_enough_for_white_and_cyan) {
    // Author lines from x 96 over rows 24 to 107; help lines inside the frame at (8, 112, 313, 73).
    const std::vector<QRect> textAreas = {QRect(96, 24, 240, 84), QRect(9, 113, 311, 71)};
    for (const auto& [name, scale] : bothScales("about-background.jpg")) {
        const QImage image = loadArt(name);
        ASSERT_FALSE(image.isNull());
        for (const QRect& area : textAreas) {
            const QRect scaled(area.topLeft() * scale, area.size() * scale);
            const double lightest = maxOf(luminances(image, scaled));
            for (QRgb text : {kWhite, kCyan}) {
                SCOPED_TRACE(name + " text " + QColor(text).name().toStdString());
                EXPECT_GE(contrastRatio(luminance(text), lightest), kMinimumTextContrast);
            }
        }
    }
}

TEST(Artwork, record_list_well_matches_the_list_background) {
    // The list box paints RGB(15, 9, 1) at (275, 56, 239, 306); the skin under it must match so
    // no seam shows at its edges.
    for (const auto& [name, scale] : bothScales("skin.jpg")) {
        SCOPED_TRACE(name);
        const QImage skin = loadArt(name);
        ASSERT_FALSE(skin.isNull());
        const QRect list(QPoint(275, 56) * scale, QSize(239, 306) * scale);
        double red = 0;
        double green = 0;
        double blue = 0;
        for (int y = list.top(); y <= list.bottom(); ++y) {
            for (int x = list.left(); x <= list.right(); ++x) {
                const QRgb p = skin.pixel(x, y);
                red += qRed(p);
                green += qGreen(p);
                blue += qBlue(p);
            }
        }
        const double count = static_cast<double>(list.width()) * list.height();
        EXPECT_NEAR(red / count, 15, 3);
        EXPECT_NEAR(green / count, 9, 3);
        EXPECT_NEAR(blue / count, 1, 3);
    }
}

TEST(Artwork, record_tab_lettering_is_centred_clear_of_the_rim) {
    // The tab's body runs from x 1 to 13 with a one-pixel rim on each side; the lettering
    // lies between rows 70 and 115, away from the chevrons.
    for (const auto& [name, scale] : bothScales("record-tab.jpg")) {
        SCOPED_TRACE(name);
        const QImage tab = loadArt(name);
        ASSERT_FALSE(tab.isNull());
        int left = tab.width();
        int right = -1;
        for (int y = 70 * scale; y < 115 * scale; ++y) {
            for (int x = 0; x < tab.width(); ++x) {
                if (luminance(tab.pixel(x, y)) > 0.45) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        ASSERT_GE(right, left);
        EXPECT_GE(left, 2 * scale);
        EXPECT_LT(right, 12 * scale);
        EXPECT_NEAR((left + right + 1) / (2.0 * scale), 7.0, 0.75);
    }
}

TEST(Artwork, about_pointer_tip_is_at_the_hot_spot) {
    // The pointer is installed with its hot spot at (12, 1): the fingertip must touch that pixel
    // and nothing may be drawn above it.
    for (const auto& [name, scale] : bothScales("about-cursor.png")) {
        SCOPED_TRACE(name);
        const QImage cursor = loadArt(name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(cursor.isNull());
        EXPECT_GE(qAlpha(cursor.pixel(12 * scale, 1 * scale)), 200);
        int inkedAboveTip = 0;
        for (int y = 0; y < scale; ++y) {
            for (int x = 0; x < cursor.width(); ++x) {
                inkedAboveTip += qAlpha(cursor.pixel(x, y)) >= 64 ? 1 : 0;
            }
        }
        EXPECT_EQ(inkedAboveTip, 0);
    }
}

TEST(Artwork, voice_indicator_lets_the_display_show_around_the_speaker) {
    for (const auto& [name, scale] : bothScales("voice-indicator.gif")) {
        SCOPED_TRACE(name);
        const QImage indicator = loadArt(name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(indicator.isNull());
        int clear = 0;
        int solid = 0;
        for (int y = 0; y < indicator.height(); ++y) {
            for (int x = 0; x < indicator.width(); ++x) {
                const int alpha = qAlpha(indicator.pixel(x, y));
                clear += alpha == 0 ? 1 : 0;
                solid += alpha == 255 ? 1 : 0;
            }
        }
        const int pixels = indicator.width() * indicator.height();
        EXPECT_GT(clear, pixels / 4);
        EXPECT_GT(solid, pixels / 8);
    }
}

} // namespace
