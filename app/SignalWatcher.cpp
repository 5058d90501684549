// SPDX-License-Identifier: GPL-3.0-or-later
#include "SignalWatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One watcher per process: the handler can reach nothing but this.
int pipeFds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

void SignalWatcher::exitAtOnce() {
    struct sigaction action {};
    action.sa_handler = [](int signalNumber) { ::_exit(128 + signalNumber); };
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeFds) != 0) {
        // Without the pipe the signals keep their default action: the program still ends.
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readPipe);
    struct sigaction action {};
    action.sa_handler = &SignalWatcher::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

SignalWatcher::~SignalWatcher() {
    if (notifier_ == nullptr) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void SignalWatcher::handle(int signalNumber) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[0], &byte, 1);
    errno = savedErrno;
}

void SignalWatcher::readPipe() {
    char byte = 0;
    while (::read(pipeFds[1], &byte, 1) == 1) {
        emit signalled(static_cast<unsigned char>(byte));
    }
}
