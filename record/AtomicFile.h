// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <system_error>

namespace record {

// Replaces a file whole: the bytes go to a temporary file beside the target, are flushed to
// the disk and only then renamed over the target. A crash, a full disk or a size limit at
// any point leaves either the old file or the new one, never a mixture or a truncated file.
class AtomicFile {
  public:
    // False when the file could not be replaced; `error` then says why and the old file (if
    // any) is untouched. A replaced file keeps the permissions of the one it replaces.
    static bool write(const std::string& path, std::string_view bytes, std::error_code& error);
    static bool write(const std::string& path, std::string_view bytes);

    // Makes a new file that holds the bytes whole, or nothing: it never replaces an entry of
    // that name, even one made by another process a moment before. A clash fails with EEXIST.
    static bool create(const std::string& path, std::string_view bytes, std::error_code& error);

    // Removes the temporary files that write() and create() leave when the process is killed
    // before the rename, for the targets in `folder` whose names `ours` accepts. A younger one
    // than `age` may belong to a copy that is writing it now and stays.
    static void removeLeftovers(const std::string& folder, bool (*ours)(std::string_view name),
                                std::chrono::seconds age = std::chrono::minutes(1));

    // Why a write failed, in the words the user is shown: the reasons a user can act on in
    // the program's own language, anything rarer in the system's.
    static std::string reason(const std::error_code& error);
};

} // namespace record
