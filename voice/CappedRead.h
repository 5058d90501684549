// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace voice {

// Reads an open file into `bytes`, at most `limit` + 1 bytes so that a larger file is
// noticed. The size from fstat (`sizeHint`) only sets the first allocation, since the file
// may change while it is read. False on a read error.
bool readCapped(int fd, std::size_t limit, std::size_t sizeHint, std::vector<std::uint8_t>& bytes);

} // namespace voice
