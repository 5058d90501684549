// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The entry a pasted text makes, exactly as typing its digits, point and sign would store
// it: "007" gives "7", ".5" gives "0.5", and a zero gives the empty entry (the display
// shows "0"). Surrounding whitespace, and commas that separate groups of three digits, are
// dropped; full-width digits and point count as their ASCII forms. Anything else, or a
// number longer than an entry may grow, gives nothing: a paste is entered whole or not at
// all.
std::optional<std::string> pastedEntry(std::string_view text);

} // namespace engine
