// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include "voice/UniqueFd.h"

#include <QCryptographicHash>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// Held while a program decides whether it is the first, and while the first removes its
// socket on the way out.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        while (fd_.valid() && ::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                fd_.closeNow();
            }
        }
    }
    bool held() const { return fd_.valid(); }

  private:
    voice::UniqueFd fd_;
};

bool fillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

const sockaddr* asSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

} // namespace

SingleInstance::SingleInstance(const std::string& appFolder, const std::string& stateFolder) {
    if (stateFolder.empty()) {
        return;
    }
    // The folder's name could be longer than a socket path may be; its hash never is.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(appFolder), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    const std::string base = stateFolder + "/instance-" + hash.toStdString();
    socketPath_ = base + ".socket";
    lockPath_ = base + ".lock";
    role_ = claim();
}

SingleInstance::~SingleInstance() {
    notifier_.reset();
    if (listenFd_ < 0) {
        return;
    }
    ::close(listenFd_);
    // Under the lock, and only the socket this program made: a later program may already
    // have replaced it after taking this one for dead.
    const FolderLock lock(lockPath_);
    struct stat info {};
    if (lock.held() && ::lstat(socketPath_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
        info.st_ino == socketInode_) {
        ::unlink(socketPath_.c_str());
    }
}

SingleInstance::Role SingleInstance::claim() {
    sockaddr_un address{};
    if (!fillAddress(socketPath_, address)) {
        return Role::Alone;
    }
    const FolderLock lock(lockPath_);
    if (!lock.held()) {
        return Role::Alone;
    }

    voice::UniqueFd client(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (client.get() < 0) {
        return Role::Alone;
    }
    // A program that is alive but stuck must not hang the launch for ever.
    const timeval limit{2, 0};
    ::setsockopt(client.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(client.get(), asSockaddr(address), sizeof address) == 0 || errno == EAGAIN ||
        errno == ETIMEDOUT) {
        return Role::Second;
    }
    if (errno != ECONNREFUSED && errno != ENOENT) {
        return Role::Alone;
    }

    // Nobody listens. What is left there is replaced only if it is a socket of this user:
    // anything else the program did not make, and it is left alone.
    struct stat info {};
    if (::lstat(socketPath_.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid() ||
            ::unlink(socketPath_.c_str()) != 0) {
            return Role::Alone;
        }
    }
    voice::UniqueFd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (server.get() < 0 || ::bind(server.get(), asSockaddr(address), sizeof address) != 0 ||
        ::listen(server.get(), 16) != 0 || ::lstat(socketPath_.c_str(), &info) != 0) {
        return Role::Alone;
    }
    socketInode_ = info.st_ino;
    listenFd_ = server.release();
    return Role::First;
}

void SingleInstance::watch(std::function<void()> onRequest) {
    if (listenFd_ < 0) {
        return;
    }
    onRequest_ = std::move(onRequest);
    notifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { acceptAll(); });
    // Launches that connected before the event loop ran are already waiting.
    acceptAll();
}

void SingleInstance::acceptAll() {
    bool requested = false;
    for (;;) {
        const int peer = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        ::close(peer);
        requested = true;
    }
    if (requested && onRequest_) {
        onRequest_();
    }
}

} // namespace platform
