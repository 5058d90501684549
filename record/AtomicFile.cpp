#include "record/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace record {

namespace {

// Leaves room for the dot and the six random letters within the 255 bytes a name may have.
constexpr std::size_t kMaxTempStem = 200;
constexpr mode_t kFallbackUmask = 022;

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

} // namespace

bool AtomicFile::write(const std::string& path, std::string_view bytes, std::error_code& error) {
    std::string temp = tempPattern(path);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = lastError();
        return false;
    }
    bool ok = fillTemp(fd, path, bytes);
    error = ok ? std::error_code{} : lastError();
    // The data is already on the disk, so an interrupted close loses nothing.
    if (::close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        error = lastError();
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = lastError();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}

bool AtomicFile::write(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    return write(path, bytes, ignored);
}

} // namespace record
