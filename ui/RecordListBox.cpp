// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecordListBox.h"

#include <QScrollBar>
#include <algorithm>

namespace ui {

RecordListBox::RecordListBox(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    // A long line is drawn whole and cut by the list's edge, so that scrolling sideways
    // shows its end rather than the "…" put in its place.
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void RecordListBox::setHorizontalExtent(int pixels) {
    extent_ = std::max(0, pixels);
    applyExtent();
}

void RecordListBox::updateGeometries() {
    QListWidget::updateGeometries();
    applyExtent();
}

// The list view sets its own sideways range from the widths of the lines on every layout,
// and this one then replaces it. Were the bar left to show "as needed", the two ranges would
// show and hide it in turn, each change asking for another layout, for ever. So the bar's
// presence follows the set extent alone. Showing the bar only takes height, so the width it
// was decided on stays, and the next layout decides the same.
void RecordListBox::applyExtent() {
    const int visible = viewport()->width();
    const Qt::ScrollBarPolicy policy =
        extent_ > visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy) {
        setHorizontalScrollBarPolicy(policy);
    }
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, extent_ - viewport()->width()));
    bar->setPageStep(viewport()->width());
}

} // namespace ui
