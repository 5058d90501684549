// SPDX-License-Identifier: GPL-3.0-or-later
// Any file at all where sty.inf should be: never a crash, and whatever is accepted is
// written back so that it reads the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const settings::SettingsRead read = settings::SettingsFile::parse(content);
    if (read.settings) {
        if (!read.position) {
            std::abort();
        }
        const std::string written = settings::SettingsFile::format(*read.settings);
        const settings::SettingsRead again = settings::SettingsFile::parse(written);
        if (!again.settings || !(*again.settings == *read.settings)) {
            std::abort();
        }
    }
    return 0;
}
