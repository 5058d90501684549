// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// What sty.inf keeps between runs: one ASCII line of six comma-separated fields,
// "left,top,#TRUE#|#FALSE#,colourChoice,keepChoice,readChoice" and CR LF.
struct StoredSettings {
    float leftTwips = 0;
    float topTwips = 0;
    bool recordPanelOpen = false;
    int colourChoice = 1;
    int keepChoice = 2;
    int readChoice = 1;

    bool operator==(const StoredSettings&) const = default;
};

// The outcome of reading the file. A file that fails part way gives no settings, but a
// window position that was already applied before the failure stays applied, so it is
// reported separately.
struct SettingsRead {
    std::optional<StoredSettings> settings;          // the whole line read and understood
    std::optional<std::pair<float, float>> position; // left, top, when they were applied
};

inline constexpr const char* kSettingsFileName = "sty.inf";

// How a write of a file of choices went. A failure names the file that could not be written
// and why, in the words of the record's save messages.
struct WriteOutcome {
    std::string path;
    std::string reason;

    bool ok() const { return reason.empty(); }
    // The line the user is shown when the write failed.
    std::string message() const;
};

class SettingsFile {
  public:
    // <appFolder>/sty.inf
    static std::string settingsPath(const std::string& appFolder);
    // <appFolder>sty.inf: beside the folder, named after it.
    static std::string sizeRecordPath(const std::string& appFolder);

    static SettingsRead parse(std::string_view content);
    static SettingsRead read(const std::string& path);
    static std::string format(const StoredSettings& settings);
    // Numbers as the file writes them: plain decimal, single precision, no fraction for
    // whole values, C locale.
    static std::string formatNumber(float value);

    // Replaces the file whole (temporary file, then rename); a link of that name is written
    // through, beside its target. On a failure the old file is untouched. A dangling link
    // and an entry that is no plain file are failures too: they are not the program's.
    static WriteOutcome write(const std::string& path, const StoredSettings& settings);
    // Any file of choices, written by the same rules.
    static WriteOutcome writeChoices(const std::string& path, std::string_view bytes);
    // Width and height on a close by the system. Skipped (false) when the path would be the
    // settings file itself, or cannot be written.
    static bool writeSizeRecord(const std::string& appFolder, float widthTwips, float heightTwips);
    // The start of a plain file, never waited on: what a short file of the program's holds.
    static std::optional<std::string> readShortFile(const std::string& path);
    // Removes what a write of the settings file killed half-way left in the application folder.
    static void removeLeftovers(const std::string& appFolder);
};

} // namespace settings
