// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DisplayMenu.h"

#include "settings/Program.h"
#include "ui/PopupSkin.h"

#include <QActionGroup>

namespace ui {

DisplayMenu::DisplayMenu(QWidget* parent) : QMenu(QStringLiteral("显示"), parent) {
    setObjectName(QStringLiteral("displayMenu"));
    setAccessibleName(QStringLiteral("显示菜单"));
    PopupSkin::dress(*this);
    copy_ = addItem("复制", "Ctrl+C", "displayCopy");
    paste_ = addItem("粘贴", "Ctrl+V", "displayPaste");
    addSeparator();
    readAgain_ = addItem("再读一遍", "F5", "displayReadAgain");
    readCalculation_ = addItem("读出算式", "F6", "displayReadCalculation");
    addSeparator();
    digits_ = addItem(settings::kDigitsName, "F7", "displayDigits");
    placeUnits_ = addItem(settings::kPlaceUnitsName, "F7", "displayPlaceUnits");
    auto* styles = new QActionGroup(this);
    for (QAction* style : {digits_, placeUnits_}) {
        style->setCheckable(true);
        styles->addAction(style);
    }
    digits_->setChecked(true);

    connect(copy_, &QAction::triggered, this, &DisplayMenu::copyChosen);
    connect(paste_, &QAction::triggered, this, &DisplayMenu::pasteChosen);
    connect(readAgain_, &QAction::triggered, this, &DisplayMenu::readAgainChosen);
    connect(readCalculation_, &QAction::triggered, this, &DisplayMenu::readCalculationChosen);
    connect(digits_, &QAction::triggered, this, [this] { emit styleChosen(false); });
    connect(placeUnits_, &QAction::triggered, this, [this] { emit styleChosen(true); });
}

// The key goes after a tab, where a menu shows an item's key, so that no shortcut is made.
QAction* DisplayMenu::addItem(const char* caption, const char* key, const char* name) {
    QAction* action =
        addAction(QString::fromUtf8(caption) + QLatin1Char('\t') + QString::fromLatin1(key));
    action->setObjectName(QLatin1String(name));
    return action;
}

void DisplayMenu::prepare(bool pasteAllowed, bool placeUnits) {
    paste_->setEnabled(pasteAllowed);
    digits_->setChecked(!placeUnits);
    placeUnits_->setChecked(placeUnits);
}

} // namespace ui
