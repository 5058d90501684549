// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace record {

namespace {

// Leaves room for the dot and the six random letters within the 255 bytes a name may have.
constexpr std::size_t kMaxTempStem = 200;
constexpr mode_t kFallbackUmask = 022;
// mkstemp replaces the six X of the pattern with letters and digits.
constexpr std::size_t kTempLetters = 6;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string tempPattern(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    name.resize(std::min(name.size(), kMaxTempStem));
    return folder + "." + name + ".XXXXXX";
}

// The umask can only be read through the system call by changing it, which would race any
// other thread creating a file at that moment; the process status shows it without that.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        constexpr std::string_view kKey = "Umask:";
        if (line.compare(0, kKey.size(), kKey) != 0) {
            continue;
        }
        const auto digits = line.find_first_not_of(" \t", kKey.size());
        unsigned value = 0;
        if (digits != std::string::npos &&
            std::from_chars(line.data() + digits, line.data() + line.size(), value, 8).ec ==
                std::errc{}) {
            return static_cast<mode_t>(value & 0777);
        }
    }
    return kFallbackUmask;
}

// mkstemp makes the file readable by its owner only; a replaced file keeps its own mode and a
// new one gets what any newly created file would.
mode_t modeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    return 0666 & ~currentUmask();
}

// Short writes continue; with SIGXFSZ ignored a size limit shows up here as EFBIG.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncFile(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Makes the rename itself survive a power cut. The new file is already complete, so a folder
// that cannot be synced does not make the write a failure.
void syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncFile(fd);
        ::close(fd);
    }
}

bool fillTemp(int fd, const std::string& target, std::string_view bytes) {
    return ::fchmod(fd, modeFor(target)) == 0 && writeAll(fd, bytes) && syncFile(fd);
}

// The complete bytes in a new temporary file beside the target, flushed to the disk.
bool writeTemp(const std::string& target, std::string_view bytes, std::string& temp,
               std::error_code& error) {
    temp = tempPattern(target);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = lastError();
        return false;
    }
    bool ok = fillTemp(fd, target, bytes);
    error = ok ? std::error_code{} : lastError();
    // The data is already on the disk, so an interrupted close loses nothing.
    if (::close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        error = lastError();
    }
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

// Where neither an exclusive rename nor a hard link is possible: the name is still taken
// exclusively, though a crash while writing may leave the new file short.
bool createExclusive(const std::string& path, std::string_view bytes, std::error_code& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = lastError();
        return false;
    }
    bool ok = writeAll(fd, bytes) && syncFile(fd);
    error = ok ? std::error_code{} : lastError();
    if (::close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        error = lastError();
    }
    if (!ok) {
        // Nobody else can have this name: it was made here a moment ago.
        ::unlink(path.c_str());
    }
    return ok;
}

bool unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EPERM || error == ENOTSUP ||
           error == EOPNOTSUPP || error == EXDEV;
}

// Gives the finished temporary file the target's name unless something already has it.
// Whatever happens, the temporary name is gone afterwards.
bool claimName(const std::string& temp, const std::string& path, std::string_view bytes,
               std::error_code& error) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        error = {};
        return true;
    }
    bool ok = false;
    if (errno != EINVAL && errno != ENOSYS) {
        error = lastError();
    } else if (::link(temp.c_str(), path.c_str()) == 0) {
        // The file system cannot rename without replacing; a hard link never replaces either.
        error = {};
        ok = true;
    } else if (!unsupported(errno)) {
        error = lastError();
    } else {
        ok = createExclusive(path, bytes, error);
    }
    ::unlink(temp.c_str());
    return ok;
}

bool isTempLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// "." + target name + "." + six letters, as tempPattern and mkstemp make them.
bool isTempName(std::string_view name, bool (*ours)(std::string_view)) {
    if (name.size() < kTempLetters + 3 || name.front() != '.' ||
        name[name.size() - kTempLetters - 1] != '.') {
        return false;
    }
    const std::string_view letters = name.substr(name.size() - kTempLetters);
    if (!std::all_of(letters.begin(), letters.end(), isTempLetter)) {
        return false;
    }
    return ours(name.substr(1, name.size() - kTempLetters - 2));
}

} // namespace

bool AtomicFile::write(const std::string& path, std::string_view bytes, std::error_code& error) {
    std::string temp;
    if (!writeTemp(path, bytes, temp, error)) {
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = lastError();
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}

bool AtomicFile::create(const std::string& path, std::string_view bytes, std::error_code& error) {
    std::string temp;
    if (!writeTemp(path, bytes, temp, error)) {
        return false;
    }
    const bool ok = claimName(temp, path, bytes, error);
    if (ok) {
        syncFolder(path);
    }
    return ok;
}

void AtomicFile::removeLeftovers(const std::string& folder, bool (*ours)(std::string_view name),
                                 std::chrono::seconds age) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!isTempName(name, ours)) {
            continue;
        }
        struct stat info {};
        // Only a plain file of this user's, last written long enough ago; never what a link
        // points to.
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            now - info.st_mtime >= age.count()) {
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
        }
    }
}

bool AtomicFile::write(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    return write(path, bytes, ignored);
}

std::string AtomicFile::reason(const std::error_code& error) {
    switch (error.value()) {
    case ENOSPC:
        return "磁盘空间不足";
    case EDQUOT:
        return "超出磁盘配额";
    case EFBIG:
        return "文件超出允许的大小";
    case EROFS:
        return "文件系统只读";
    case EACCES:
    case EPERM:
        return "没有写入权限";
    case EEXIST:
        return "已有同名的文件";
    case EISDIR:
        return "已有同名的文件夹";
    case ENOTDIR:
        return "路径中有一处不是文件夹";
    case ENOENT:
        return "文件夹不存在";
    case ENAMETOOLONG:
        return "路径太长";
    case EIO:
        return "读写出错";
    default:
        return error.message();
    }
}

} // namespace record
