// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SndfileStandIn.h"

#include "platform/ResidentPages.h"

#include <cstddef>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The stand-in's bytes, generated at build time from standin/.
extern const unsigned char calc_sndfile_standin[];
extern const std::size_t calc_sndfile_standin_size;

namespace platform {

namespace {

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void loadOnce() {
    // A voice pack read earlier has loaded the real one; the client library will use it.
    if (dlopen("libsndfile.so.1", RTLD_NOW | RTLD_NOLOAD) != nullptr) {
        return;
    }
    // Loaded from memory rather than from a file beside the program: the program is one
    // file, copied and run from anywhere, and nothing is written to disk for this.
    const int fd = memfd_create("libsndfile stand-in", MFD_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (writeAll(fd, calc_sndfile_standin, calc_sndfile_standin_size)) {
        // Loaded by path, the loader still records the stand-in's own name, libsndfile.so.1,
        // and gives it to whatever asks for that name later. Kept for the life of the process,
        // like the client library that binds to it.
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    close(fd);
    // Read once; the mapping made from the memory file holds its own copy.
    ResidentPages::release(calc_sndfile_standin, calc_sndfile_standin_size);
}

} // namespace

void SndfileStandIn::load() {
    static std::once_flag loaded;
    std::call_once(loaded, loadOnce);
}

} // namespace platform
