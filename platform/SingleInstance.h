// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform {

// Keeps one running program per application folder, so that two never share its settings,
// records and voice. The first program listens on a Unix socket named after the folder; a
// later one finds it there, connects (the connection itself asks it to come forward) and
// ends. A lock file held while deciding makes two launches at the same moment choose one
// winner. A socket left behind by a program that was killed answers nobody and is replaced.
class SingleInstance {
  public:
    enum class Role {
        First,  // this program runs and listens for later launches
        Second, // another program runs for the folder and has been asked to come forward
        Alone,  // no socket could be set up: the program runs unguarded rather than not at all
    };

    // stateFolder is a private folder of the user (the socket and lock file go there); empty
    // when there is none.
    SingleInstance(const std::string& appFolder, const std::string& stateFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }
    const std::string& socketPath() const { return socketPath_; }

    // Calls onRequest whenever a later launch connects. Needs the application's event loop.
    void watch(std::function<void()> onRequest);

  private:
    Role claim();
    void acceptAll();

    std::string socketPath_;
    std::string lockPath_;
    int listenFd_ = -1;
    unsigned long socketInode_ = 0;
    Role role_ = Role::Alone;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onRequest_;
};

} // namespace platform
