// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionsMenu.h"

#include "ui/PopupSkin.h"

namespace ui {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

OptionsMenu::OptionsMenu(QWidget* parent) : QMenu(QStringLiteral("选项"), parent) {
    setObjectName(QStringLiteral("mun"));
    setAccessibleName(QStringLiteral("选项"));
    PopupSkin::dress(*this);
    for (const settings::MenuItemInfo& info : settings::menuItems()) {
        addItem(info);
    }
}

void OptionsMenu::addItem(const settings::MenuItemInfo& info) {
    QAction* action = info.caption == "-" ? addSeparator() : addAction(toQString(info.caption));
    action->setObjectName(toQString(info.name));
    action->setCheckable(info.checkable);
    action->setChecked(info.checkedAtStart);
    actions_[static_cast<std::size_t>(info.item)] = action;
    const settings::MenuItem item = info.item;
    connect(action, &QAction::triggered, this, [this, action, item] {
        // Qt flips a checkable item before reporting it; the program decides the mark.
        if (action->isCheckable()) {
            action->setChecked(!action->isChecked());
        }
        emit chosen(item);
    });
}

void OptionsMenu::setItemChecked(settings::MenuItem item, bool checked) {
    action(item)->setChecked(checked);
}

} // namespace ui
