// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

// Opens the session bus connection on a thread of its own while the window is being built.
// The accessibility bridge asks for that connection the first time a widget announces itself,
// and then waits for it: where no bus answers, that wait is for the attempt to start one.
// Made now, the connection is ready (or known to fail) by then. Qt shares one connection per
// bus, so the bridge gets this one and nothing else changes.
class EarlyBusConnection {
  public:
    EarlyBusConnection();
    // Waits for the attempt: the process must not end with the thread inside the bus library.
    ~EarlyBusConnection();
    EarlyBusConnection(const EarlyBusConnection&) = delete;
    EarlyBusConnection& operator=(const EarlyBusConnection&) = delete;

  private:
    std::thread connecting_;
};
