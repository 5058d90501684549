// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/RunClipFolder.h"

#include "voice/ClipFolder.h"
#include "voice/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace voice {

namespace {

bool isFolder(const char* dir) {
    struct stat info {};
    return dir != nullptr && dir[0] == '/' && ::stat(dir, &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> namesIn(int dirFd) {
    std::vector<std::string> names;
    DIR* dir = ::fdopendir(::dup(dirFd));
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    return names;
}

// The folder holds only the clip files this program wrote; each is removed by its name
// within the folder, so nothing outside it can be reached.
void removeFolder(int baseFd, const std::string& name, int folderFd) {
    for (const std::string& entry : namesIn(folderFd)) {
        ::unlinkat(folderFd, entry.c_str(), 0);
    }
    ::unlinkat(baseFd, name.c_str(), AT_REMOVEDIR);
}

} // namespace

RunClipFolder::RunClipFolder(const char* runtimeDir, const char* tmpDir, uid_t uid) {
    if (isFolder(runtimeDir)) {
        const std::string folder = ClipFolder::choosePath(runtimeDir, nullptr, uid);
        if (ClipFolder::prepare(folder) == FolderStatus::Ready) {
            path_ = folder;
            return;
        }
    }
    makeTemporary(ClipFolder::choosePath(nullptr, isFolder(tmpDir) ? tmpDir : nullptr, uid), uid);
}

void RunClipFolder::makeTemporary(const std::string& stem, uid_t uid) {
    const std::size_t slash = stem.rfind('/');
    const std::string base = slash == 0 ? "/" : stem.substr(0, slash);
    removeLeftBehind(base, stem.substr(slash + 1) + "-", uid, std::time(nullptr));

    std::string pattern = stem + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        problem_ = base + ": " + std::strerror(errno);
        return;
    }
    UniqueFd folder(::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid() || ClipFolder::checkOpenFolder(folder.get()) != FolderStatus::Ready ||
        ::flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
        problem_ = pattern + ": " + std::strerror(errno);
        ::rmdir(pattern.c_str());
        return;
    }
    path_ = pattern;
    lockFd_ = folder.release();
}

RunClipFolder::~RunClipFolder() {
    if (!temporary()) {
        return;
    }
    const std::size_t slash = path_.rfind('/');
    const UniqueFd base(::open(slash == 0 ? "/" : path_.substr(0, slash).c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (base.valid()) {
        removeFolder(base.get(), path_.substr(slash + 1), lockFd_);
    }
    ::close(lockFd_);
}

void RunClipFolder::removeLeftBehind(const std::string& base, const std::string& prefix, uid_t uid,
                                     std::time_t now) {
    const UniqueFd baseFd(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!baseFd.valid()) {
        return;
    }
    for (const std::string& name : namesIn(baseFd.get())) {
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const UniqueFd folder(
            ::openat(baseFd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat info {};
        if (!folder.valid() || ::fstat(folder.get(), &info) != 0 || info.st_uid != uid ||
            now - info.st_mtime < kLeftBehindSeconds ||
            ::flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        removeFolder(baseFd.get(), name, folder.get());
    }
}

} // namespace voice
