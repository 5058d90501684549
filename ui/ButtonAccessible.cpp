// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ButtonAccessible.h"

#include "ui/ClickableLabel.h"
#include "ui/KeyButton.h"
#include "ui/TitleButton.h"

#include <QAbstractButton>

namespace ui {

namespace {

constexpr const char* kKeysProperty = "calcAccessibleKeys";

} // namespace

ButtonAccessible::ButtonAccessible(QAbstractButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

void ButtonAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&ButtonAccessible::create);
        return true;
    }();
    (void)installed;
}

void ButtonAccessible::setKeys(QAbstractButton* button, const QStringList& keys) {
    button->setProperty(kKeysProperty, keys);
}

// The message boxes' buttons stay as Qt makes them.
QAccessibleInterface* ButtonAccessible::create(const QString&, QObject* object) {
    if (qobject_cast<ClickableLabel*>(object) != nullptr ||
        qobject_cast<KeyButton*>(object) != nullptr ||
        qobject_cast<TitleButton*>(object) != nullptr) {
        return new ButtonAccessible(static_cast<QAbstractButton*>(object));
    }
    return nullptr;
}

QStringList ButtonAccessible::actionNames() const {
    return {pressAction()};
}

void ButtonAccessible::doAction(const QString& actionName) {
    auto* button = static_cast<QAbstractButton*>(widget());
    if (actionName == pressAction() && button->isEnabled()) {
        button->click();
    }
}

QStringList ButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction()) {
        return widget()->property(kKeysProperty).toStringList();
    }
    return {};
}

} // namespace ui
