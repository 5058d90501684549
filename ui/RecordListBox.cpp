#include "ui/RecordListBox.h"

#include <QScrollBar>
#include <algorithm>

namespace ui {

RecordListBox::RecordListBox(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
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

void RecordListBox::applyExtent() {
    QScrollBar* bar = horizontalScrollBar();
    const int range = std::max(0, extent_ - viewport()->width());
    bar->setRange(0, range);
    bar->setPageStep(viewport()->width());
}

} // namespace ui
