// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace platform {

// The program file's own data that is read rarely once the window is up: pictures, the
// font, the clips. Its pages are handed back to the kernel, which keeps them in the page
// cache and maps them again, unchanged, on the next read. Only for data never written to.
class ResidentPages {
  public:
    // Drops the whole pages inside [data, data + size) from this process's resident set.
    static void release(const void* data, std::size_t size);
};

} // namespace platform
