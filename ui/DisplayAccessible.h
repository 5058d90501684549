// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace ui {

class DisplayBox;

// What a screen reader is told about the display: its name, the number it shows as its value,
// and what the program last announced as its description. Its one action reads the number
// aloud again, as F5 does.
class DisplayAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit DisplayAccessible(DisplayBox* box);

    // Registers the factory once; later calls do nothing.
    static void install();

    QString text(QAccessible::Text kind) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    static QAccessibleInterface* create(const QString& className, QObject* object);

    DisplayBox* box() const;
};

} // namespace ui
