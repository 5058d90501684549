// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SpokenNumber.h"
#include "settings/SettingsFile.h"

#include <string>
#include <string_view>

namespace settings {

inline constexpr const char* kReadingStyleFileName = "readstyle.inf";

// readstyle.inf keeps how numbers are read between runs: "1" digit by digit or "2" with place
// units, and CR LF. It stands beside sty.inf, whose line stays as it always was.
class ReadingStyleFile {
  public:
    // <appFolder>/readstyle.inf
    static std::string path(const std::string& appFolder);
    // Digit by digit when the file is missing or holds anything else.
    static engine::ReadingStyle parse(std::string_view content);
    static engine::ReadingStyle read(const std::string& path);
    // Replaces the file whole, as sty.inf is replaced; on a failure the old file is untouched.
    static WriteOutcome write(const std::string& path, engine::ReadingStyle style);
    // Removes what a write killed half-way left in the application folder.
    static void removeLeftovers(const std::string& appFolder);
};

} // namespace settings
