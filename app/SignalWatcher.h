// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the window's thread. The handler
// only writes the signal number into a pipe; everything else happens in the event loop.
class SignalWatcher : public QObject {
    Q_OBJECT
  public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

  signals:
    void signalled(int signalNumber);

  private:
    static void handle(int signalNumber);
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};
