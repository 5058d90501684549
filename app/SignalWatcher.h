// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the window's thread. The handler
// only writes the signal number into a pipe; everything else happens in the event loop.
class SignalWatcher : public QObject {
    Q_OBJECT
  public:
    // Until a watcher exists there is no window to close and nothing worth keeping: the
    // signals end the program at once, with 128 + their number, writing nothing.
    static void exitAtOnce();

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
