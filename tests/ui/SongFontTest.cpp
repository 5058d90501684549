// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "engine/Calculator.h"
#include "record/RecordList.h"
#include "record/RecordSaver.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsMenu.h"
#include "ui/SongFont.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QRawFont>
#include <QResource>
#include <QTextLayout>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

QRawFont embeddedFace() {
    return QRawFont(QResource(QStringLiteral(":/fonts/song-subset.ttf")).uncompressedData(), 16);
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every text the two windows, the menu and the boxes draw in the Song face.
QStringList drawnTexts(const ui::CalculatorWindow& window) {
    QStringList texts = ui::AboutWindow::authorLines() + ui::AboutWindow::helpLines();
    for (const engine::KeyInfo& info : engine::keyTable()) {
        texts << fromUtf8(info.caption);
    }
    for (const settings::MenuItemInfo& info : settings::menuItems()) {
        texts << fromUtf8(info.caption);
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    for (const char* notice :
         {engine::kOverflowNotice, engine::kZeroDivisorNotice, record::kNothingToSave,
          record::kSavedTo, record::kRecordFullNotice, settings::kNoticeTitle, settings::kAppTitle,
          "确定", "0123456789.+-*/=E"}) {
        texts << QString::fromUtf8(notice);
    }
    return texts;
}

} // namespace

// A text changed without running resources/fonts/make-font would be drawn in another face.
TEST(SongFont, TheEmbeddedFaceHoldsEveryCharacterDrawnAndIsTheOneUsed) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    const QRawFont face = embeddedFace();
    ASSERT_TRUE(face.isValid());
    EXPECT_EQ(face.familyName(), ui::SongFont::kEmbeddedFamily);
    for (const QString& text : drawnTexts(h.window)) {
        for (const QChar c : text) {
            EXPECT_TRUE(face.supportsCharacter(c))
                << "missing " << QString(c).toStdString() << " of " << text.toStdString();
        }
    }
    EXPECT_EQ(QFontInfo(ui::SongFont::pixelFont(ui::SongFont::k12pt)).family(),
              ui::SongFont::kEmbeddedFamily);
}

// A saved record's path can hold any folder name; what the face lacks comes from another.
TEST(SongFont, AFolderNameOutsideTheFaceStillShows) {
    const QString folder = QStringLiteral("簿册");
    for (const QChar c : folder) {
        ASSERT_FALSE(embeddedFace().supportsCharacter(c));
    }
    QTextLayout layout(QString::fromUtf8(record::kSavedTo) + QStringLiteral("/home/") + folder +
                           QStringLiteral("/save/1.txt"),
                       ui::SongFont::pixelFont(ui::SongFont::k12pt));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces << run.rawFont().familyName();
        for (const quint32 glyph : run.glyphIndexes()) {
            EXPECT_NE(glyph, 0U) << "a character drawn as a blank box";
        }
    }
    EXPECT_TRUE(faces.contains(ui::SongFont::kEmbeddedFamily));
    EXPECT_GT(faces.size(), 1) << "the folder's name was not drawn by another face";
}
