#include "ui/DisplayAccessible.h"

#include "ui/DisplayBox.h"

namespace ui {

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
    if (kind == QAccessible::Value || kind == QAccessible::Description) {
        return box()->text();
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

} // namespace ui
