// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QStringList>

class QAbstractButton;

namespace ui {

// A control of the skin that a key works too, as a screen reader meets it: a button whose
// press action names that key. The keys are handled by the main window's key filter, not by
// the button, so the button cannot tell them itself.
class ButtonAccessible : public QAccessibleWidget {
  public:
    explicit ButtonAccessible(QAbstractButton* button);

    // Registers the factory for the skin's keys, labels and title buttons once; later calls do
    // nothing. Before the first of them is made: a screen reader's view of each is made once.
    static void install();
    // Names the keys that do what a press of the button does.
    static void setKeys(QAbstractButton* button, const QStringList& keys);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    static QAccessibleInterface* create(const QString& className, QObject* object);
};

} // namespace ui
