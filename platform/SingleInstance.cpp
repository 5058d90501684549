// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include "voice/ClipFolder.h"
#include "voice/UniqueFd.h"

#include <QCryptographicHash>
#include <QSocketNotifier>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr auto kLockWait = std::chrono::seconds(2);

// Held while a program decides whether it is the first, and while the first removes its
// socket on the way out. Any process of the user can hold the lock file for as long as it
// likes, so the wait is bounded: a launch that cannot have it runs unguarded.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        while (fd_.valid() && ::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() >= deadline) {
                fd_.closeNow();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    bool held() const { return fd_.valid(); }

  private:
    voice::UniqueFd fd_;
};

std::string systemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

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

std::string SingleInstance::userFolder(std::string* problem) {
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string cache;
    if (cacheHome != nullptr && cacheHome[0] == '/') {
        cache = cacheHome;
    } else if (home != nullptr && home[0] == '/') {
        cache = std::string(home) + "/.cache";
    } else {
        *problem = "neither XDG_CACHE_HOME nor HOME names a folder";
        return {};
    }
    // The cache folder itself may not exist yet; made, it is the user's alone.
    if (::mkdir(cache.c_str(), 0700) != 0 && errno != EEXIST) {
        *problem = systemError(cache);
        return {};
    }
    const std::string folder = cache + "/" + voice::ClipFolder::kProgramName;
    if (const voice::FolderStatus status = voice::ClipFolder::prepare(folder);
        status != voice::FolderStatus::Ready) {
        *problem = folder + ": " + voice::folderStatusText(status);
        return {};
    }
    return folder;
}

SingleInstance::SingleInstance(const std::string& appFolder) {
    const std::string folder = userFolder(&problem_);
    if (!folder.empty()) {
        guard(appFolder, folder);
    }
}

SingleInstance::SingleInstance(const std::string& appFolder, const std::string& stateFolder) {
    if (stateFolder.empty()) {
        problem_ = "no private folder for it";
        return;
    }
    guard(appFolder, stateFolder);
}

void SingleInstance::guard(const std::string& appFolder, const std::string& stateFolder) {
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
        problem_ = socketPath_ + ": too long for a socket";
        return Role::Alone;
    }
    const FolderLock lock(lockPath_);
    if (!lock.held()) {
        problem_ = lockPath_ + ": held by another process, or cannot be opened";
        return Role::Alone;
    }

    voice::UniqueFd client(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (client.get() < 0) {
        problem_ = systemError("socket");
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
        problem_ = systemError(socketPath_);
        return Role::Alone;
    }

    // Nobody listens. A socket or a plain file of this user's is what a killed program, or
    // a stray copy, left in the private folder, and is replaced; anything else is left alone.
    struct stat info {};
    if (::lstat(socketPath_.c_str(), &info) == 0) {
        if ((!S_ISSOCK(info.st_mode) && !S_ISREG(info.st_mode)) || info.st_uid != ::geteuid()) {
            problem_ = socketPath_ + ": something else is in the way";
            return Role::Alone;
        }
        if (::unlink(socketPath_.c_str()) != 0) {
            problem_ = systemError(socketPath_);
            return Role::Alone;
        }
    }
    voice::UniqueFd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (server.get() < 0 || ::bind(server.get(), asSockaddr(address), sizeof address) != 0 ||
        ::listen(server.get(), 16) != 0 || ::lstat(socketPath_.c_str(), &info) != 0) {
        problem_ = systemError(socketPath_);
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
