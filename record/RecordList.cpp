// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordList.h"

namespace record {

void RecordList::recordCalculation(const std::string& line) {
    if (!recordOn_) {
        return;
    }
    recordLine_ = line;
    addRecordLine();
    if (recordCount_ <= kMaxRecordLines) {
        ++recordCount_;
    }
}

void RecordList::addRecordLine() {
    if (recordCount_ <= kMaxRecordLines) {
        lines_.push_back(recordLine_);
        countLabel_ = std::to_string(recordCount_);
    } else {
        full_ = true;
    }
}

void RecordList::clearRecords() {
    recordLine_.clear();
    full_ = false;
    recordCount_ = 1;
    scrollRange_ = kNarrowScrollRange;
    lines_.clear();
    wideView_ = false;
    savePath_.clear();
}

void RecordList::toggleWideView() {
    scrollRange_ = wideView_ ? kNarrowScrollRange : kWideScrollRange;
    wideView_ = !wideView_;
}

} // namespace record
