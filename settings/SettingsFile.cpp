// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "record/AtomicFile.h"

namespace settings {

namespace {

constexpr std::size_t kFieldCount = 6;
// The file is one short line; anything longer is not ours, and only this much is ever read.
constexpr std::size_t kMaxLineBytes = 4096;
// A window cannot be placed further than 32767 pixels (15 twips each) from the origin, so
// a position beyond that is refused like any other value the window would not take.
constexpr float kMaxPositionTwips = 32767.0f * 15.0f;
constexpr std::string_view kTrue = "#TRUE#";
constexpr std::string_view kFalse = "#FALSE#";
constexpr const char* kSaveFailed = "选项保存失败：";
constexpr const char* kLinkGoesNowhere = "链接的目标不存在";

using Fields = std::array<std::string_view, kFieldCount>;

// The first line without its line end; nothing when it is too long to be a settings line.
std::optional<std::string_view> firstLine(std::string_view content) {
    const auto end = content.find('\n');
    const std::size_t length = end == std::string_view::npos ? content.size() : end;
    if (length > kMaxLineBytes) {
        return std::nullopt;
    }
    std::string_view line = content.substr(0, length);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// Fields after the sixth are ignored, as a reader of six values would.
std::optional<Fields> splitFields(std::string_view line) {
    Fields fields;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) {
            if (i + 1 < kFieldCount) {
                return std::nullopt;
            }
            fields[i] = line;
            break;
        }
        fields[i] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    return fields;
}

std::optional<float> parsePosition(std::string_view field) {
    float value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value, std::chars_format::fixed);
    if (field.empty() || ec != std::errc{} || ptr != end || !std::isfinite(value) ||
        std::fabs(value) > kMaxPositionTwips) {
        return std::nullopt;
    }
    return value;
}

// A 16-bit whole number; "1.5" stops at the point and so fails.
std::optional<int> parseCode(std::string_view field) {
    int value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ec != std::errc{} || ptr != end ||
        value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return value;
}

bool equalsIgnoringCase(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char folded = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (folded != upper[i]) {
            return false;
        }
    }
    return true;
}

std::optional<bool> parseTruth(std::string_view field) {
    if (equalsIgnoringCase(field, kTrue)) {
        return true;
    }
    if (equalsIgnoringCase(field, kFalse)) {
        return false;
    }
    return std::nullopt;
}

std::string formatCode(int value) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

// Up to kMaxLineBytes + 1 bytes: enough to see whether the first line is too long. Only a
// plain file is read, and never waited on (a pipe of that name would block the start).
std::optional<std::string> readStart(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> content;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        content.emplace(kMaxLineBytes + 1, '\0');
        std::size_t filled = 0;
        while (filled < content->size()) {
            const ssize_t got = ::read(fd, content->data() + filled, content->size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                content.reset();
                break;
            }
            if (got == 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        if (content) {
            content->resize(filled);
        }
    }
    ::close(fd);
    return content;
}

WriteOutcome failure(const std::string& path, const std::error_code& error) {
    return {path, record::AtomicFile::reason(error)};
}

// Where the bytes go: the file itself, or the file a link of its name leads to, so that
// choices kept elsewhere through a link stay there and the link stays a link.
std::optional<std::string> writeTarget(const std::string& path, WriteOutcome& outcome) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
    if (real == nullptr) {
        // A file made where a dangling link points would be one the user never asked for.
        outcome = errno == ENOENT ? WriteOutcome{path, kLinkGoesNowhere}
                                  : failure(path, {errno, std::generic_category()});
        return std::nullopt;
    }
    return std::string(real.get());
}

} // namespace

std::string WriteOutcome::message() const {
    return kSaveFailed + path + "（" + reason + "）";
}

std::string SettingsFile::settingsPath(const std::string& appFolder) {
    if (appFolder.empty() || appFolder.back() == '/') {
        return appFolder + kSettingsFileName;
    }
    return appFolder + "/" + kSettingsFileName;
}

// A folder given with a trailing slash is still the same folder: "/opt/calc/" gives
// "/opt/calcsty.inf" beside it, not the settings file inside it. Only the root keeps its
// slash, and there the two paths meet.
std::string SettingsFile::sizeRecordPath(const std::string& appFolder) {
    const auto last = appFolder.find_last_not_of('/');
    const std::string folder =
        last == std::string::npos ? appFolder : appFolder.substr(0, last + 1);
    return folder + kSettingsFileName;
}

SettingsRead SettingsFile::parse(std::string_view content) {
    const auto line = firstLine(content);
    const auto fields = line ? splitFields(*line) : std::nullopt;
    if (!fields) {
        return {};
    }
    const auto left = parsePosition((*fields)[0]);
    const auto top = parsePosition((*fields)[1]);
    const auto colour = parseCode((*fields)[3]);
    const auto keep = parseCode((*fields)[4]);
    const auto read = parseCode((*fields)[5]);
    if (!left || !top || !colour || !keep || !read) {
        return {};
    }
    // All six fields were read, so the window has moved before the truth value is looked at.
    SettingsRead result;
    result.position = std::pair{*left, *top};
    const auto panelOpen = parseTruth((*fields)[2]);
    if (panelOpen) {
        result.settings = StoredSettings{*left, *top, *panelOpen, *colour, *keep, *read};
    }
    return result;
}

std::optional<std::string> SettingsFile::readShortFile(const std::string& path) {
    return readStart(path);
}

SettingsRead SettingsFile::read(const std::string& path) {
    const auto content = readStart(path);
    return content ? parse(*content) : SettingsRead{};
}

std::string SettingsFile::format(const StoredSettings& settings) {
    return formatNumber(settings.leftTwips) + "," + formatNumber(settings.topTwips) + "," +
           std::string(settings.recordPanelOpen ? kTrue : kFalse) + "," +
           formatCode(settings.colourChoice) + "," + formatCode(settings.keepChoice) + "," +
           formatCode(settings.readChoice) + "\r\n";
}

// Shortest text that reads back to the same float, in plain decimal. Values the file could
// not read back (infinities, NaN) are written as 0, and so is -0.
std::string SettingsFile::formatNumber(float value) {
    if (!std::isfinite(value) || value == 0.0f) {
        return "0";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc{}) {
        return "0";
    }
    return {buffer.data(), result.ptr};
}

WriteOutcome SettingsFile::write(const std::string& path, const StoredSettings& settings) {
    return writeChoices(path, format(settings));
}

WriteOutcome SettingsFile::writeChoices(const std::string& path, std::string_view bytes) {
    WriteOutcome outcome;
    const std::optional<std::string> target = writeTarget(path, outcome);
    if (!target) {
        return outcome;
    }
    // A rename would replace a device or a pipe of that name; a folder refuses it anyway.
    struct stat info {};
    if (::stat(target->c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return failure(*target,
                       std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                                  : std::errc::file_exists));
    }
    std::error_code error;
    if (!record::AtomicFile::write(*target, bytes, error)) {
        return failure(*target, error);
    }
    return outcome;
}

bool SettingsFile::writeSizeRecord(const std::string& appFolder, float widthTwips,
                                   float heightTwips) {
    const std::string path = sizeRecordPath(appFolder);
    if (path == settingsPath(appFolder)) {
        return false;
    }
    return record::AtomicFile::write(path, formatNumber(widthTwips) + "," +
                                               formatNumber(heightTwips) + "\r\n");
}

void SettingsFile::removeLeftovers(const std::string& appFolder) {
    record::AtomicFile::removeLeftovers(
        appFolder.empty() ? "." : appFolder,
        [](std::string_view name) { return name == kSettingsFileName; });
}

} // namespace settings
