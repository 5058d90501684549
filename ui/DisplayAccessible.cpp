// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DisplayAccessible.h"

#include "ui/DisplayBox.h"

namespace ui {

namespace {

const QString kReadAloud = QStringLiteral("朗读");

} // namespace

DisplayAccessible::DisplayAccessible(DisplayBox* box)
    : QAccessibleWidget(box, QAccessible::StaticText) {}

void DisplayAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&DisplayAccessible::create);
        return true;
    }();
    (void)installed;
}

QAccessibleInterface* DisplayAccessible::create(const QString&, QObject* object) {
    if (auto* box = qobject_cast<DisplayBox*>(object)) {
        return new DisplayAccessible(box);
    }
    return nullptr;
}

DisplayBox* DisplayAccessible::box() const {
    return static_cast<DisplayBox*>(widget());
}

QString DisplayAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) {
        return box()->text();
    }
    if (kind == QAccessible::Description) {
        return box()->announcement();
    }
    return QAccessibleWidget::text(kind);
}

void* DisplayAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }

    return QAccessibleWidget::interface_cast(type);
}

QVariant DisplayAccessible::currentValue() const {
    return box()->text();
}

QStringList DisplayAccessible::actionNames() const {
    return QAccessibleWidget::actionNames() << kReadAloud;
}

void DisplayAccessible::doAction(const QString& actionName) {
    if (actionName == kReadAloud) {
        emit box()->readAloudAsked();
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

QStringList DisplayAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == kReadAloud) {
        return {QStringLiteral("F5")};
    }
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

} // namespace ui
