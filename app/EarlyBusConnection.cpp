// SPDX-License-Identifier: GPL-3.0-or-later
#include "EarlyBusConnection.h"

#include <QDBusConnection>

EarlyBusConnection::EarlyBusConnection() : connecting_([] { QDBusConnection::sessionBus(); }) {}

EarlyBusConnection::~EarlyBusConnection() {
    connecting_.join();
}
