// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/RecordList.h"

namespace record {

inline constexpr const char* kNothingToSave = "没有可保存的";
inline constexpr const char* kSavedTo = "记录已保存到";

struct SaveResult {
    enum class Kind { NothingToSave, Saved, Failed };
    Kind kind = Kind::NothingToSave;
    std::string path;  // the file written, or the one that could not be written
    std::string error; // why it failed, in words for the user

    // The text of the message box the user sees.
    std::string message() const;
};

// Writes the record to <appFolder>/save/<n>.txt, n the lowest free number (above 100 when
// 1..100 are all taken). Within one record every save rewrites the same file; after a
// clear the next save takes a new number. The file is replaced whole, so a failed or
// interrupted save never leaves a half-written file or loses the previous save.
class RecordSaver {
  public:
    explicit RecordSaver(std::string appFolder);
    SaveResult saveRecords(RecordList& list) const;

    std::string saveFolder() const;
    // Removes the temporary files of saves that were killed half-way, once they are stale.
    void removeLeftovers() const;

  private:
    std::string appFolder_;
};

} // namespace record
