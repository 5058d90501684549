// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "settings/SettingsFile.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsMenu.h"
#include "ui/PopupSkin.h"
#include "ui/SongFont.h"
#include "ui/TitleButton.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool seen = false;
    int width = 0;
    QColor face;
    QString family;
    QString ok;
};

// Answers the next modal box with OK, noting what it showed; a box that never comes fails
// the test instead of hanging it.
void answerNextBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen = {box->windowTitle(),
                box->text(),
                box->icon(),
                static_cast<int>(box->buttons().size()),
                true,
                box->width(),
                box->palette().color(QPalette::Window),
                QFontInfo(box->font()).family(),
                box->button(QMessageBox::Ok)->text()};
        box->button(QMessageBox::Ok)->click();
    });
}

} // namespace

TEST(Lifecycle, exit_key_saves_the_settings_and_ends_everything) {
    WindowHarness h("1815,1260,#FALSE#,1,2,1\r\n");
    QSignalSpy ended(&h.window, &ui::CalculatorWindow::ended);
    QTest::mouseClick(h.find(QStringLiteral("Image10")), Qt::LeftButton);
    h.window.optionsMenu()->action(settings::MenuItem::munr)->trigger();
    QTest::mouseClick(h.window.titleButton(1), Qt::LeftButton);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(h.window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.window.aboutWindow() == nullptr; }, 2000));
    EXPECT_EQ(readAll(h.folder.filePath(QStringLiteral("sty.inf"))),
              QByteArray("1815,1260,#FALSE#,2,2,1\r\n"));
    // Nothing of the program runs any more.
    QTest::mouseClick(h.window.key(engine::Key::Seven), Qt::LeftButton);
    EXPECT_EQ(h.display(), "0");
}

TEST(Lifecycle, exit_item_writes_what_the_exit_key_writes) {
    WindowHarness h("1815,1260,#TRUE#,3,1,2\r\n");
    h.window.optionsMenu()->action(settings::MenuItem::munend)->trigger();
    EXPECT_FALSE(h.window.isVisible());
    EXPECT_EQ(readAll(h.folder.filePath(QStringLiteral("sty.inf"))),
              QByteArray("1815,1260,#TRUE#,3,1,2\r\n"));
}

TEST(Lifecycle, the_exit_saves_the_place_a_compositor_never_reports) {
    using Kind = ui::WindowSystem::Kind;
    struct Row {
        const char* what;
        Kind system;
        QByteArray line; // empty: no settings file
        QByteArray saved;
    };
    const Row rows[] = {
        {"compositor, saved place", Kind::Compositor, "1815,1260,#FALSE#,1,2,1\r\n",
         "1815,1260,#FALSE#,1,2,1\r\n"},
        {"compositor, first run", Kind::Compositor, {}, "3555,2940,#FALSE#,1,2,1\r\n"},
        // A window that knows where it is saves where it is.
        {"X11", Kind::SelfPlacing, "1815,1260,#FALSE#,1,2,1\r\n", "0,0,#FALSE#,1,2,1\r\n"},
    };
    for (const Row& row : rows) {
        WindowHarness h(row.line, row.system);
        // Where a compositor says every window is.
        h.window.move(0, 0);
        QTest::mouseClick(h.window.titleButton(1), Qt::LeftButton);
        EXPECT_EQ(readAll(h.folder.filePath(QStringLiteral("sty.inf"))), row.saved) << row.what;
    }
}

TEST(Lifecycle, a_close_by_the_desktop_writes_only_the_size_record) {
    WindowHarness h;
    QSignalSpy ended(&h.window, &ui::CalculatorWindow::ended);
    QTest::mouseClick(h.find(QStringLiteral("Image10")), Qt::LeftButton);
    h.window.close();
    EXPECT_FALSE(QFile::exists(h.folder.filePath(QStringLiteral("sty.inf"))));
    const QString sizeRecord = QString::fromStdString(
        settings::SettingsFile::sizeRecordPath(h.folder.path().toStdString()));
    EXPECT_EQ(readAll(sizeRecord), QByteArray("3960,6120\r\n"));
    QFile::remove(sizeRecord);
    EXPECT_EQ(ended.count(), 0);
    // The About window keeps the program running until it is closed too.
    ASSERT_NE(h.window.aboutWindow(), nullptr);
    EXPECT_TRUE(h.window.aboutWindow()->isVisible());
}

TEST(Lifecycle, minimise_button_minimises) {
    WindowHarness h;
    QTest::mouseClick(h.window.titleButton(0), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.window.isMinimized(); }, 2000));
}

TEST(Lifecycle, notices_are_modal_boxes_with_ok_only_and_no_icon) {
    WindowHarness h;
    SeenBox seen;
    answerNextBox(seen);
    // Dividing by "0." is refused when the next operator comes.
    h.typeText(QStringLiteral("5/.+"));
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, QStringLiteral("提示"));
    EXPECT_EQ(seen.text, QStringLiteral("除数不能是零"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.ok, QStringLiteral("确定"));
    // In the skin's face and type, and wide enough for a title bar to show "提示" whole.
    EXPECT_EQ(seen.face, QColor(ui::PopupSkin::kFace));
    EXPECT_EQ(seen.family, ui::SongFont::kEmbeddedFamily);
    EXPECT_GE(seen.width, ui::PopupSkin::kMinBoxWidth);
    // The keyboard works again straight after the box.
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.window.isActiveWindow(); }, 2000));
    h.typeText(QStringLiteral(" 4"));
    EXPECT_EQ(h.display(), "4");
}

TEST(Lifecycle, saving_the_record_reports_under_the_program_title) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    h.typeText(QStringLiteral("1+1="));
    SeenBox seen;
    answerNextBox(seen);
    QTest::mouseClick(h.find(QStringLiteral("Label6")), Qt::LeftButton);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, QStringLiteral("语音计算器"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}
