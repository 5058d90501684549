// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include "ui/OptionsMenu.h"
#include "ui/RecordListBox.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using uitest::WindowHarness;

namespace {

QStringList lines(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) {
        out << list.item(i)->text();
    }
    return out;
}

// Counts the layout work of a list: relayout requests, viewport resizes and the sideways bar
// showing or hiding. A list that keeps changing its own layout never lets the program idle.
class LayoutPasses : public QObject {
  public:
    explicit LayoutPasses(QAbstractScrollArea& area) {
        for (QObject* watched :
             {static_cast<QObject*>(&area), static_cast<QObject*>(area.viewport()),
              static_cast<QObject*>(area.horizontalScrollBar())}) {
            watched->installEventFilter(this);
        }
    }
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::LayoutRequest || type == QEvent::Resize || type == QEvent::Show ||
            type == QEvent::Hide) {
            ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TEST(RecordPanel, lists_each_calculation_and_selects_the_newest) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    auto* list = h.find<ui::RecordListBox>(QStringLiteral("List1"));
    h.typeText(QStringLiteral("12+3.5="));
    ASSERT_TRUE(h.waitForQuiet());
    h.typeText(QStringLiteral("2*3="));
    EXPECT_EQ(lines(*list), (QStringList{"12+3.5=15.5", "2*3=6"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->currentItem()->isSelected());
    EXPECT_EQ(h.find<QLabel>(QStringLiteral("Label2"))->text(),
              QString::fromStdString(h.program.records().countLabel()));
}

TEST(RecordPanel, clear_empties_the_list) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    auto* list = h.find<ui::RecordListBox>(QStringLiteral("List1"));
    h.typeText(QStringLiteral("1+1="));
    ASSERT_EQ(list->count(), 1);
    QTest::mouseClick(h.find(QStringLiteral("Label1")), Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
}

TEST(RecordPanel, view_switches_how_far_the_lines_scroll_sideways) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    auto* list = h.find<ui::RecordListBox>(QStringLiteral("List1"));
    QTest::mouseClick(h.find(QStringLiteral("Label4")), Qt::LeftButton);
    EXPECT_EQ(list->horizontalExtent(), h.program.records().scrollRange());
    const int visible = list->viewport()->width();
    EXPECT_EQ(list->horizontalScrollBar()->maximum(),
              std::max(0, list->horizontalExtent() - visible));
    const int first = list->horizontalExtent();
    QTest::mouseClick(h.find(QStringLiteral("Label4")), Qt::LeftButton);
    EXPECT_NE(list->horizontalExtent(), first);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(),
              std::max(0, list->horizontalExtent() - visible));
}

TEST(RecordPanel, extent_fixes_the_scroll_range_whatever_the_lines_are) {
    ui::RecordListBox list(nullptr);
    list.resize(239, 306);
    list.show();
    list.addItem(QString(200, QLatin1Char('8')));
    const std::pair<int, int> rows[] = {{0, 0}, {100, 0}, {400, 400 - list.viewport()->width()}};
    for (const auto& [extent, maximum] : rows) {
        list.setHorizontalExtent(extent);
        QTest::qWait(1);
        EXPECT_EQ(list.horizontalScrollBar()->maximum(), maximum) << extent;
    }
}

TEST(RecordPanel, a_full_record_shows_the_notice_instead_of_the_count) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    record::RecordList records;
    records.setRecordOn(true);
    for (int i = 0; i <= record::kMaxRecordLines; ++i) {
        records.recordCalculation("1+1=2");
    }
    ASSERT_TRUE(records.full());
    h.window.showRecord(records);
    EXPECT_FALSE(h.find(QStringLiteral("Label2"))->isVisible());
    EXPECT_TRUE(h.find(QStringLiteral("Label5"))->isVisible());
    EXPECT_EQ(h.find<QListWidget>(QStringLiteral("List1"))->count(), record::kMaxRecordLines);
    h.window.showRecord(record::RecordList{});
    EXPECT_TRUE(h.find(QStringLiteral("Label2"))->isVisible());
    EXPECT_FALSE(h.find(QStringLiteral("Label5"))->isVisible());
    EXPECT_EQ(h.find<QListWidget>(QStringLiteral("List1"))->count(), 0);
}

TEST(RecordPanel, tab_opens_the_panel_and_stop_closes_it) {
    WindowHarness h;
    QTest::mouseClick(h.find(QStringLiteral("Image9")), Qt::LeftButton);
    EXPECT_EQ(h.window.width(), 528);
    QTest::mouseClick(h.find(QStringLiteral("Label3")), Qt::LeftButton);
    EXPECT_EQ(h.window.width(), 264);
}

TEST(RecordPanel, the_list_settles_after_a_long_line_or_a_view_switch) {
    const std::pair<const char*, bool> triggers[] = {{"111111111+111111111=", false}, {"", true}};
    for (const auto& [typed, view] : triggers) {
        WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
        // Without the voice no reading holds the keys back.
        h.window.optionsMenu()->action(settings::MenuItem::mensenyin)->trigger();
        auto* list = h.find<ui::RecordListBox>(QStringLiteral("List1"));
        QTest::qWait(50);
        LayoutPasses passes(*list);
        h.typeText(QString::fromLatin1(typed));
        if (view) {
            QTest::mouseClick(h.find(QStringLiteral("Label4")), Qt::LeftButton);
        }
        QTest::qWait(300);
        EXPECT_EQ(list->count(), view ? 0 : 1);
        EXPECT_LE(passes.count, 12) << typed << view;
        EXPECT_EQ(list->horizontalExtent(), h.program.records().scrollRange());
        // Whatever the lines, the bar covers exactly what of the set range is out of view.
        EXPECT_EQ(list->horizontalScrollBar()->maximum(),
                  std::max(0, list->horizontalExtent() - list->viewport()->width()));
    }
}

TEST(RecordPanel, the_selection_survives_a_view_switch_and_a_refused_line) {
    WindowHarness h("0,0,#TRUE#,1,2,1\r\n");
    h.window.optionsMenu()->action(settings::MenuItem::mensenyin)->trigger();
    auto* list = h.find<ui::RecordListBox>(QStringLiteral("List1"));
    for (int i = 0; i < record::kMaxRecordLines; ++i) {
        h.typeText(QStringLiteral("1+1="));
    }
    ASSERT_EQ(list->count(), record::kMaxRecordLines);
    list->setCurrentRow(5);
    QTest::mouseClick(h.find(QStringLiteral("Label4")), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 5);
    h.typeText(QStringLiteral("2+2="));
    ASSERT_TRUE(h.program.records().full());
    EXPECT_EQ(list->currentRow(), 5);
    EXPECT_TRUE(list->item(5)->isSelected());
}
