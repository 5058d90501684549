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

    // The socket and the lock file go in the user's own cache folder, where no other user
    // can make them first.
    explicit SingleInstance(const std::string& appFolder);
    // stateFolder is a private folder of the user; empty when there is none.
    SingleInstance(const std::string& appFolder, const std::string& stateFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }
    const std::string& socketPath() const { return socketPath_; }
    // Why the program runs Alone.
    const std::string& problem() const { return problem_; }

    // $XDG_CACHE_HOME/yuyin-jisuanqi, or ~/.cache/…, made private to the user; empty, with
    // the reason in `problem`, when it cannot be.
    static std::string userFolder(std::string* problem);

    // Calls onRequest whenever a later launch connects. Needs the application's event loop.
    void watch(std::function<void()> onRequest);

  private:
    void guard(const std::string& appFolder, const std::string& stateFolder);
    Role claim();
    void acceptAll();

    std::string socketPath_;
    std::string lockPath_;
    std::string problem_;
    int listenFd_ = -1;
    unsigned long socketInode_ = 0;
    Role role_ = Role::Alone;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onRequest_;
};

} // namespace platform
