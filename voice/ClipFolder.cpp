// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voice {

namespace {

bool usableBase(const char* dir) {
    return dir != nullptr && dir[0] == '/';
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

FolderStatus statusOfOpenError(int error) {
    switch (error) {
    case ELOOP:
        return FolderStatus::SymbolicLink;
    case ENOTDIR:
        return FolderStatus::NotADirectory;
    default:
        return FolderStatus::CannotCreate;
    }
}

} // namespace

const char* folderStatusText(FolderStatus status) {
    switch (status) {
    case FolderStatus::Ready:
        return "ready";
    case FolderStatus::CannotCreate:
        return "cannot be created";
    case FolderStatus::NotADirectory:
        return "not a folder";
    case FolderStatus::SymbolicLink:
        return "a symbolic link";
    case FolderStatus::ForeignOwner:
        return "owned by another user";
    case FolderStatus::OpenToOthers:
        return "writable by others";
    }
    return "unknown";
}

std::string ClipFolder::choosePath(const char* runtimeDir, const char* tmpDir, uid_t uid) {
    if (usableBase(runtimeDir)) {
        return withoutTrailingSlashes(runtimeDir) + "/" + kProgramName;
    }
    const std::string base = usableBase(tmpDir) ? withoutTrailingSlashes(tmpDir) : "/tmp";
    const std::string separator = base == "/" ? "" : "/";
    return base + separator + kProgramName + "-" + std::to_string(uid);
}

FolderStatus ClipFolder::prepare(const std::string& path) {
    if (path.empty()) {
        return FolderStatus::CannotCreate;
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return errno == ENOTDIR ? FolderStatus::NotADirectory : FolderStatus::CannotCreate;
    }
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        return FolderStatus::SymbolicLink;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return statusOfOpenError(errno);
    }
    FolderStatus status = checkOpenFolder(fd);
    // An own folder left open to others (made by an older version, or by hand) is closed
    // rather than refused: the clips in it are replaced at every start anyway.
    struct stat opened {};
    if ((status == FolderStatus::Ready || status == FolderStatus::OpenToOthers) &&
        fstat(fd, &opened) == 0 && (opened.st_mode & 077) != 0) {
        status = fchmod(fd, 0700) == 0 ? checkOpenFolder(fd) : FolderStatus::OpenToOthers;
    }
    close(fd);
    return status;
}

FolderStatus ClipFolder::checkOpenFolder(int dirFd) {
    struct stat info {};
    if (fstat(dirFd, &info) != 0) {
        return FolderStatus::CannotCreate;
    }
    if (S_ISLNK(info.st_mode)) {
        return FolderStatus::SymbolicLink;
    }
    if (!S_ISDIR(info.st_mode)) {
        return FolderStatus::NotADirectory;
    }
    if (info.st_uid != geteuid()) {
        return FolderStatus::ForeignOwner;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return FolderStatus::OpenToOthers;
    }
    return FolderStatus::Ready;
}

int ClipFolder::openChecked(const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 && checkOpenFolder(fd) != FolderStatus::Ready) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace voice
