// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecordPanel.h"

#include "ui/ClickableLabel.h"
#include "ui/Layout.h"
#include "ui/RecordListBox.h"
#include "ui/SongFont.h"
#include "ui/TextFit.h"

#include <QLabel>
#include <algorithm>
#include <array>

namespace ui {

namespace {

const QColor kCyan(0, 255, 255);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kListBackground(15, 9, 1);

QLabel* makeLabel(QWidget& window, const char* name, const QString& text, const QFont& font,
                  QColor colour, const TwipsRect& place) {
    auto* label = new QLabel(text, &window);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setGeometry(toPixels(place));
    return label;
}

ClickableLabel* makeClickable(QWidget& window, const char* name, const QString& text,
                              const TwipsRect& place) {
    auto* label = new ClickableLabel(text, SongFont::pixelFont(SongFont::k10_5pt), kWhite, &window);
    label->setObjectName(QLatin1String(name));
    // The box is laid out for the program's face; another face for a missing character can
    // need more room than it has.
    label->setGeometry(TextFit::around(toPixels(place), label->font(), text));
    return label;
}

RecordListBox* makeList(QWidget& window) {
    auto* list = new RecordListBox(&window);
    list->setObjectName(QStringLiteral("List1"));
    list->setAccessibleName(QStringLiteral("计算记录"));
    // The display keeps the focus: a focused list would have the screen reader read each new
    // line, and the program reads record lines itself.
    list->setFocusPolicy(Qt::NoFocus);
    list->setFont(SongFont::pixelFont(SongFont::k12pt));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, kListBackground);
    palette.setColor(QPalette::Text, kCyan);
    palette.setColor(QPalette::Highlight, QColor(0, 96, 112));
    palette.setColor(QPalette::HighlightedText, kWhite);
    // A thin dark rim, so that the list sits in the skin's well rather than on it.
    palette.setColor(QPalette::WindowText, QColor(64, 70, 80));
    palette.setColor(QPalette::Text, kCyan);
    list->setPalette(palette);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(1);
    list->setGeometry(toPixels(layout::kRecordList));
    return list;
}

} // namespace

RecordPanel::RecordPanel(QWidget& window)
    : count_(makeLabel(window, "Label2", QStringLiteral("0"),
                       SongFont::pixelFont(SongFont::k15pt, true), kCyan, layout::kCountLabel)),
      full_(makeLabel(window, "Label5", QString::fromUtf8(record::kRecordFullNotice),
                      SongFont::pixelFont(SongFont::k10_5pt), kRed, layout::kFullNotice)),
      list_(makeList(window)),
      clear_(makeClickable(window, "Label1", QStringLiteral("清空"), layout::kClearLabel)),
      view_(makeClickable(window, "Label4", QStringLiteral("查看"), layout::kViewLabel)),
      save_(makeClickable(window, "Label6", QStringLiteral("保存到文件"), layout::kSaveLabel)),
      stop_(makeClickable(window, "Label3", QStringLiteral("停止"), layout::kStopLabel)) {
    count_->setAccessibleName(QStringLiteral("记录条数"));
    // The panel's own words would clash with the keys' names for a listener.
    clear_->setAccessibleName(QStringLiteral("清空记录"));
    view_->setAccessibleName(QStringLiteral("查看长算式"));
    stop_->setAccessibleName(QStringLiteral("停止记录"));
    full_->setAccessibleName(QString::fromUtf8(record::kRecordFullNotice));
    setOpen(false);
}

void RecordPanel::setOpen(bool open) {
    open_ = open;
    const std::array<QWidget*, 5> controls{list_, clear_, view_, save_, stop_};
    for (QWidget* control : controls) {
        control->setVisible(open);
    }
    showCountOrNotice();
}

void RecordPanel::show(const record::RecordList& list) {
    showLines(list);
    showCount(list);
    list_->setHorizontalExtent(list.scrollRange());
}

void RecordPanel::showLines(const record::RecordList& list) {
    const auto& lines = list.lines();
    // Lines are only ever added at the end or all cleared at once.
    if (static_cast<std::size_t>(list_->count()) > lines.size()) {
        list_->clear();
    }
    const auto shown = static_cast<std::size_t>(list_->count());
    for (auto i = shown; i < lines.size(); ++i) {
        list_->addItem(QString::fromStdString(lines[i]));
    }
    // Only a new line moves the selection to itself; a view switch or a line refused by a
    // full record leaves the user's choice alone.
    if (lines.size() > shown) {
        list_->setCurrentRow(list_->count() - 1);
        list_->scrollToItem(list_->currentItem());
    }
}

void RecordPanel::showCount(const record::RecordList& list) {
    // The count label grows with its text, as a one-line label does, and never shrinks
    // below its laid-out size.
    count_->setText(QString::fromStdString(list.countLabel()));
    const QRect place = toPixels(layout::kCountLabel);
    count_->resize(std::max(place.width(), count_->sizeHint().width()), place.height());
    count_->setAccessibleDescription(count_->text());
    listFull_ = list.full();
    showCountOrNotice();
}

// The count and the full notice share one place; only one of them ever shows.
void RecordPanel::showCountOrNotice() {
    count_->setVisible(open_ && !listFull_);
    full_->setVisible(open_ && listFull_);
}

} // namespace ui
