// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace record {

inline constexpr int kMaxRecordLines = 300;
inline constexpr int kNarrowScrollRange = 100;
inline constexpr int kWideScrollRange = 400;
inline constexpr const char* kRecordFullNotice = "纪录已满，请清空";

// The history of calculations. The list box only renders it; saving reads it.
class RecordList {
  public:
    // A finished calculation; kept only while the record is on.
    void recordCalculation(const std::string& line);
    void addRecordLine();
    void clearRecords();
    void toggleWideView();

    void setRecordOn(bool on) { recordOn_ = on; }
    bool recordOn() const { return recordOn_; }

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& recordLine() const { return recordLine_; }
    int recordCount() const { return recordCount_; }
    // What the count label shows; it keeps the last count through a clear.
    const std::string& countLabel() const { return countLabel_; }
    // The list refused a line: the full notice stands in place of the count.
    bool full() const { return full_; }
    bool wideView() const { return wideView_; }
    // Horizontal scroll range of the list in pixels; 0 until first set.
    int scrollRange() const { return scrollRange_; }

    const std::string& savePath() const { return savePath_; }
    void setSavePath(const std::string& path) { savePath_ = path; }

  private:
    bool recordOn_ = false;
    std::string recordLine_;
    // Number the next line will have. Held at one past the limit while the list is full, so
    // no number of refused lines can carry it round to a small value.
    int recordCount_ = 1;
    std::vector<std::string> lines_;
    std::string countLabel_ = "0";
    bool full_ = false;
    bool wideView_ = false;
    int scrollRange_ = 0;
    std::string savePath_;
};

} // namespace record
