// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordSaver.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <utility>

#include "record/AtomicFile.h"

namespace record {

namespace {

constexpr const char* kSaveFolderName = "save";
constexpr const char* kFailedPrefix = "保存失败：";

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

SaveResult failed(const std::string& path, const std::string& what, const std::error_code& error) {
    SaveResult result;
    result.kind = SaveResult::Kind::Failed;
    result.path = path;
    result.error = kFailedPrefix + what + " " + path + "（" + AtomicFile::reason(error) + "）";
    return result;
}

// A folder, or a link to one, is fine as it is; anything else of that name is in the way.
std::error_code ensureFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) {
        return {};
    }
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return {};
    }
    return {error, std::generic_category()};
}

// Any entry of the name, whatever it is, takes its number: a save never replaces something it
// finds there. The name is taken by an exclusive create, so a copy of the program saving at
// the same moment keeps the number it got first and this save goes on to the next one.
std::string createNumbered(const std::string& folder, const std::string& text,
                           std::error_code& error) {
    for (int n = 1; n < INT_MAX; ++n) {
        const std::string path = joinPath(folder, std::to_string(n) + ".txt");
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            continue;
        }
        if (errno != ENOENT) {
            error = {errno, std::generic_category()};
            return {};
        }
        if (AtomicFile::create(path, text, error)) {
            return path;
        }
        if (error != std::errc::file_exists) {
            return path;
        }
    }
    error = std::make_error_code(std::errc::value_too_large);
    return {};
}

// ".3.txt" of ".3.txt.a1B2c3": a number followed by ".txt", the names saves are given.
bool isRecordFileName(std::string_view name) {
    constexpr std::string_view kSuffix = ".txt";
    if (name.size() <= kSuffix.size() || name.substr(name.size() - kSuffix.size()) != kSuffix) {
        return false;
    }
    const std::string_view digits = name.substr(0, name.size() - kSuffix.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string recordText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace

std::string SaveResult::message() const {
    switch (kind) {
    case Kind::NothingToSave:
        return kNothingToSave;
    case Kind::Saved:
        return kSavedTo + path;
    case Kind::Failed:
        return error;
    }
    return error;
}

RecordSaver::RecordSaver(std::string appFolder) : appFolder_(std::move(appFolder)) {}

std::string RecordSaver::saveFolder() const {
    return joinPath(appFolder_, kSaveFolderName);
}

void RecordSaver::removeLeftovers() const {
    AtomicFile::removeLeftovers(saveFolder(), isRecordFileName);
}

SaveResult RecordSaver::saveRecords(RecordList& list) const {
    const bool choosing = list.savePath().empty();
    if (choosing && list.lines().empty()) {
        return {};
    }
    // Made again when it went away between two saves of the same record.
    const std::string folder = choosing ? saveFolder() : folderOf(list.savePath());
    if (const auto error = ensureFolder(folder)) {
        return failed(folder, "无法创建文件夹", error);
    }
    AtomicFile::removeLeftovers(folder, isRecordFileName);
    std::error_code error;
    if (choosing) {
        const std::string path = createNumbered(folder, recordText(list.lines()), error);
        if (error) {
            // The number was never used, so the next try looks for a free one again.
            return path.empty() ? failed(folder, "无法查看文件夹", error)
                                : failed(path, "无法写入", error);
        }
        list.setSavePath(path);
    } else if (!AtomicFile::write(list.savePath(), recordText(list.lines()), error)) {
        return failed(list.savePath(), "无法写入", error);
    }
    SaveResult result;
    result.kind = SaveResult::Kind::Saved;
    result.path = list.savePath();
    return result;
}

} // namespace record
