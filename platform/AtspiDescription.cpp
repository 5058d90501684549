// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtspiDescription.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace platform {

namespace {

// Where Qt's bridge to the accessibility bus keeps its connection and its objects.
const QString kQtConnection = QStringLiteral("a11y");
const QString kObjectPrefix = QStringLiteral("/org/a11y/atspi/accessible/");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

} // namespace

bool AtspiDescription::send(QAccessibleInterface* object, const QString& text) {
    const QDBusConnection bus(kQtConnection);
    if (object == nullptr || !bus.isConnected()) {
        return false;
    }
    const QString path = kObjectPrefix + QString::number(QAccessible::uniqueId(object));
    QDBusMessage change = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    // The application the object belongs to, as Qt names it in its own events.
    QDBusArgument application;
    application.beginStructure();
    application << bus.baseService() << QDBusObjectPath(kRootPath);
    application.endStructure();
    change << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(text)) << QVariant::fromValue(application);
    return bus.send(change);
}

} // namespace platform
