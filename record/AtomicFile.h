#pragma once

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
};

} // namespace record
