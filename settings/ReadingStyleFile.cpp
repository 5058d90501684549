// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ReadingStyleFile.h"

#include "record/AtomicFile.h"

namespace settings {

std::string ReadingStyleFile::path(const std::string& appFolder) {
    if (appFolder.empty() || appFolder.back() == '/') {
        return appFolder + kReadingStyleFileName;
    }
    return appFolder + "/" + kReadingStyleFileName;
}

engine::ReadingStyle ReadingStyleFile::parse(std::string_view content) {
    // A line end written by hand without its CR is still the same line.
    if (content.ends_with("\r\n")) {
        content.remove_suffix(2);
    } else if (content.ends_with("\n")) {
        content.remove_suffix(1);
    }
    return content == "2" ? engine::ReadingStyle::PlaceUnits : engine::ReadingStyle::Digits;
}

engine::ReadingStyle ReadingStyleFile::read(const std::string& path) {
    const auto content = SettingsFile::readShortFile(path);
    return content ? parse(*content) : engine::ReadingStyle::Digits;
}

WriteOutcome ReadingStyleFile::write(const std::string& path, engine::ReadingStyle style) {
    return SettingsFile::writeChoices(path, style == engine::ReadingStyle::PlaceUnits ? "2\r\n"
                                                                                      : "1\r\n");
}

void ReadingStyleFile::removeLeftovers(const std::string& appFolder) {
    record::AtomicFile::removeLeftovers(
        appFolder.empty() ? "." : appFolder,
        [](std::string_view name) { return name == kReadingStyleFileName; });
}

} // namespace settings
