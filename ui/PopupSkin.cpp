// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PopupSkin.h"

#include "ui/SongFont.h"

#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QSpacerItem>
#include <QStyleFactory>
#include <QStyleOption>

namespace ui {

PopupSkin::PopupSkin() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    // Deleted with the application, after the last pop-up.
    setParent(qApp);
}

PopupSkin& PopupSkin::shared() {
    static PopupSkin* const skin = new PopupSkin();
    return *skin;
}

QPalette PopupSkin::palette() {
    QPalette palette;
    const QColor face(kFace);
    const QColor ink(kInk);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::Base, face);
        palette.setColor(group, QPalette::Button, QColor(kButton));
        palette.setColor(group, QPalette::WindowText, ink);
        palette.setColor(group, QPalette::Text, ink);
        palette.setColor(group, QPalette::ButtonText, ink);
        palette.setColor(group, QPalette::Highlight, QColor(kHover));
        palette.setColor(group, QPalette::HighlightedText, QColor(kHoverInk));
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, face);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(kRim).lighter(150));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(kRim).lighter(150));
    return palette;
}

void PopupSkin::dress(QMenu& menu) {
    menu.setStyle(&shared());
    menu.setPalette(palette());
    menu.setFont(SongFont::pixelFont(SongFont::k12pt));
}

void PopupSkin::dress(QMessageBox& box) {
    // A box widens itself to its title as measured in the face of a sub-window's title bar,
    // which is the desktop's face unless told otherwise. That face has no Chinese, so a first
    // box would open two more whole faces only to measure a title it never draws; measured in
    // the box's own face, the title still leaves every box at its width.
    static const bool titleFaceSet = [] {
        QApplication::setFont(SongFont::pixelFont(SongFont::k12pt), "QMdiSubWindowTitleBar");
        return true;
    }();
    Q_UNUSED(titleFaceSet);
    box.setPalette(palette());
    // The style caches each painted bevel under a key that holds the palette's serial
    // number, and every box resolves a palette of its own: those pictures are never drawn
    // again once the box is gone, yet would stay until the cache is full, megabytes later.
    QObject::connect(&box, &QObject::destroyed, [] { QPixmapCache::clear(); });
    box.setFont(SongFont::pixelFont(SongFont::k12pt));
    // A style is not handed down: the text and the button take it one by one.
    box.setStyle(&shared());
    for (QWidget* child : box.findChildren<QWidget*>()) {
        child->setStyle(&shared());
    }
    // A message box sizes itself to its text; a row of the wanted width keeps it wide enough.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(kMinBoxWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

// A check mark only where an item is checked: an empty box beside every other item would
// make the either/or groups look like independent choices.
void PopupSkin::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    if (element != PE_IndicatorCheckBox || qobject_cast<const QMenu*>(widget) == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!option->state.testFlag(State_On)) {
        return;
    }
    const QRectF box = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath tick;
    tick.moveTo(box.left(), box.center().y());
    tick.lineTo(box.left() + box.width() * 0.4, box.bottom());
    tick.lineTo(box.right(), box.top());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool hovered = option->state.testFlag(State_Selected);
    painter->setPen(QPen(QColor(hovered ? kHoverInk : kCheckMark), 2.0, Qt::SolidLine, Qt::RoundCap,
                         Qt::RoundJoin));
    painter->drawPath(tick);
    painter->restore();
}

} // namespace ui
