// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildTest.h"
#include "WindowHarness.h"

#include "ui/AboutWindow.h"
#include "ui/ClickableLabel.h"
#include "ui/SongFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

const QString kNotoFolder = QStringLiteral("/usr/share/fonts/opentype/noto");

// The ink of a text as alpha summed over its pixels, drawn without any edge to cut it.
qint64 inkMass(const QImage& image) {
    qint64 mass = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            mass += qAlpha(row[x]);
        }
    }
    return mass;
}

QImage blank(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A label as it shows its text, against the same text drawn with room all around it.
void expectWhole(QWidget& label, const QString& text, const char* what) {
    QImage shown = blank(label.size());
    label.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    QImage whole = blank(label.size() * 3);
    QPainter painter(&whole);
    painter.setFont(label.font());
    painter.setPen(Qt::white);
    painter.drawText(QPointF(label.width(), label.height() + QFontMetricsF(label.font()).ascent()),
                     text);
    painter.end();
    const qint64 expected = inkMass(whole);
    ASSERT_GT(expected, 0) << what;
    // Placed at another fraction of a pixel, the edges shade a little differently.
    EXPECT_NEAR(static_cast<double>(inkMass(shown)), static_cast<double>(expected),
                0.03 * static_cast<double>(expected))
        << what;
}

} // namespace

// Runs in a child whose fontconfig knows only Noto CJK, with the program's own face taken
// away again: every text then comes from Noto, which rises and falls further than that face
// and sets digits wider. The panel's labels and the About window's lines must show whole.
TEST(FallbackFaceChild, texts_drawn_in_a_fallback_face_show_whole) {
    if (qEnvironmentVariable("CALC_FALLBACK_CHILD") != QLatin1String("1")) {
        GTEST_SKIP() << "run by FallbackFace.a_face_with_other_metrics_is_never_cut";
    }
    (void)ui::SongFont::pixelFont(ui::SongFont::k12pt);
    QFontDatabase::removeAllApplicationFonts();
    ASSERT_TRUE(QFontInfo(ui::SongFont::pixelFont(ui::SongFont::k12pt))
                    .family()
                    .startsWith(QStringLiteral("Noto")));

    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    for (const char* name : {"Label1", "Label4", "Label6", "Label3"}) {
        auto* label = h.find<ui::ClickableLabel>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        expectWhole(*label, label->text(), name);
    }
    ui::AboutWindow about;
    for (int i = 0; i < 3; ++i) {
        auto* line = about.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(i));
        ASSERT_NE(line, nullptr);
        expectWhole(*line, line->text(), "help line");
    }
}

TEST(FallbackFace, a_face_with_other_metrics_is_never_cut) {
    if (!QFile::exists(kNotoFolder)) {
        if (qEnvironmentVariable("CI") == QLatin1String("true")) {
            FAIL() << "Noto CJK is missing (fonts-noto-cjk)";
        }
        GTEST_SKIP() << "Noto CJK is not installed (fonts-noto-cjk)";
    }
    QTemporaryDir fonts;
    ASSERT_TRUE(fonts.isValid());
    QFile config(fonts.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>%1</dir>\n"
                                "<cachedir>%2</cachedir>\n</fontconfig>\n")
                     .arg(kNotoFolder, fonts.filePath(QStringLiteral("cache")))
                     .toUtf8());
    config.close();
    uitest::expectChildTestPasses(QStringLiteral("FallbackFaceChild.*"),
                                  {{QStringLiteral("FONTCONFIG_FILE"), config.fileName()},
                                   {QStringLiteral("CALC_FALLBACK_CHILD"), QStringLiteral("1")}});
}
