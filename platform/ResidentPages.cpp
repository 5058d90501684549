// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ResidentPages.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

void ResidentPages::release(const void* data, std::size_t size) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    // Pages shared with other data at either end are left alone.
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t last = (start + size) & ~(page - 1);
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
}

} // namespace platform
