// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/CappedRead.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace voice {

bool readCapped(int fd, std::size_t limit, std::size_t sizeHint, std::vector<std::uint8_t>& bytes) {
    const std::size_t cap = limit + 1;
    bytes.resize(std::clamp<std::size_t>(sizeHint + 1, 1, cap));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() == cap) {
                break;
            }
            bytes.resize(std::min(bytes.size() * 2, cap));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return true;
}

} // namespace voice
