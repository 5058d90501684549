// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipExtractor.h"

#include "voice/ClipFolder.h"
#include "voice/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace voice {

namespace {

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int createExclusive(int dirFd, const std::string& name) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(dirFd, name.c_str(), flags, 0600);
    if (fd < 0 && errno == EEXIST) {
        // Left over by a run that died between create and rename; unlinkat removes a link
        // itself, never what it points at.
        unlinkat(dirFd, name.c_str(), 0);
        fd = openat(dirFd, name.c_str(), flags, 0600);
    }
    return fd;
}

} // namespace

ClipExtractor::ClipExtractor(std::string folder) : folder_(std::move(folder)) {}

bool ClipExtractor::extract(const std::vector<ClipData>& clips) const {
    if (folder_.empty()) {
        return false;
    }
    UniqueFd dir(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.valid() || ClipFolder::checkOpenFolder(dir.get()) != FolderStatus::Ready) {
        return false;
    }
    bool allWritten = true;
    for (const ClipData& clip : clips) {
        allWritten = writeClip(dir.get(), clip) && allWritten;
    }
    return allWritten;
}

bool ClipExtractor::writeClip(int dirFd, const ClipData& clip) const {
    const std::string name = std::to_string(clip.number) + ".wav";
    const std::string temporary = "." + name + "." + std::to_string(getpid()) + ".tmp";
    UniqueFd file(createExclusive(dirFd, temporary));
    if (!file.valid()) {
        return false;
    }
    if (!writeAll(file.get(), clip.bytes) || !file.closeNow()) {
        unlinkat(dirFd, temporary.c_str(), 0);
        return false;
    }
    // The old file goes first: ext4 writes a file's data out to disk when it is renamed over
    // an existing name, which made start-up wait some 18 ms instead of under one. For that
    // instant the name is missing (a second copy of the program playing just then hears the
    // fallback), and rename still replaces anything planted meanwhile without following it.
    unlinkat(dirFd, name.c_str(), 0);
    if (renameat(dirFd, temporary.c_str(), dirFd, name.c_str()) == 0) {
        return true;
    }
    unlinkat(dirFd, temporary.c_str(), 0);
    return false;
}

} // namespace voice
