// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/UniqueFd.h"

#include <memory>
#include <string>

namespace voice {

// A clip file named inside a folder the program has checked and holds open. Opening it
// relative to that folder, without following links, means a folder removed and recreated
// by someone else, or a link planted at the clip's name, is never read. `path` is only for
// people and for fakes that record what was asked for.
struct ClipFile {
    std::shared_ptr<const UniqueFd> folder;
    std::string name;
    std::string path;
};

} // namespace voice
