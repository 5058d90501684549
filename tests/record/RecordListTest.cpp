// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/RecordList.h"

using namespace record;

namespace {

void recordMany(RecordList& list, int count) {
    for (int i = 0; i < count; ++i) {
        list.recordCalculation(std::to_string(i) + "+1=" + std::to_string(i + 1));
    }
}

} // namespace

TEST(RecordList, NothingIsKeptWhileTheRecordIsOff) {
    RecordList list;
    list.recordCalculation("1+1=2");
    EXPECT_TRUE(list.lines().empty());
    EXPECT_EQ(list.recordCount(), 1);
    EXPECT_EQ(list.countLabel(), "0");
}

TEST(RecordList, ThreeHundredLinesFillItAndTheNextShowsTheNotice) {
    RecordList list;
    list.setRecordOn(true);
    recordMany(list, 300);
    EXPECT_EQ(list.lines().size(), 300u);
    EXPECT_EQ(list.countLabel(), "300");
    EXPECT_FALSE(list.full());

    list.recordCalculation("9+9=18");
    EXPECT_EQ(list.lines().size(), 300u);
    EXPECT_TRUE(list.full());
    EXPECT_EQ(list.lines().back(), "299+1=300");

    // However many more are refused, the count never comes round to a small number.
    recordMany(list, 40000);
    EXPECT_EQ(list.recordCount(), 301);
    EXPECT_EQ(list.lines().size(), 300u);
}

TEST(RecordList, ClearingAFullListStartsOverButKeepsTheLabel) {
    RecordList list;
    list.setRecordOn(true);
    recordMany(list, 301);
    list.setSavePath("/tmp/save/1.txt");
    list.toggleWideView();
    list.clearRecords();
    EXPECT_TRUE(list.lines().empty());
    EXPECT_FALSE(list.full());
    EXPECT_EQ(list.countLabel(), "300");
    EXPECT_EQ(list.savePath(), "");
    EXPECT_FALSE(list.wideView());
    EXPECT_EQ(list.scrollRange(), kNarrowScrollRange);

    list.recordCalculation("1+1=2");
    EXPECT_EQ(list.lines(), std::vector<std::string>{"1+1=2"});
    EXPECT_EQ(list.countLabel(), "1");
}

TEST(RecordList, ViewTogglesBetweenTheTwoRanges) {
    RecordList list;
    EXPECT_EQ(list.scrollRange(), 0);
    list.toggleWideView();
    EXPECT_EQ(list.scrollRange(), kWideScrollRange);
    list.toggleWideView();
    EXPECT_EQ(list.scrollRange(), kNarrowScrollRange);
    list.toggleWideView();
    list.clearRecords();
    list.toggleWideView();
    EXPECT_EQ(list.scrollRange(), kWideScrollRange);
}

TEST(RecordList, ClosingAndReopeningContinuesTheNumbering) {
    RecordList list;
    list.setRecordOn(true);
    recordMany(list, 3);
    list.setRecordOn(false);
    list.recordCalculation("5+5=10");
    list.setRecordOn(true);
    list.recordCalculation("6+6=12");
    EXPECT_EQ(list.lines().size(), 4u);
    EXPECT_EQ(list.countLabel(), "4");
}
