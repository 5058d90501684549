// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <latch>
#include <set>
#include <thread>

#include "record/RecordSaver.h"
#include "tests/record/TestFiles.h"

using namespace record;
using testfiles::ChildOutcome;
using testfiles::readFile;
using testfiles::TempFolder;
using testfiles::writeFile;

namespace {

RecordList listWith(const std::vector<std::string>& lines) {
    RecordList list;
    list.setRecordOn(true);
    for (const auto& line : lines) {
        list.recordCalculation(line);
    }
    return list;
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

} // namespace

TEST(RecordSaver, NothingToSaveMakesNoFolder) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list;
    const SaveResult result = saver.saveRecords(list);
    EXPECT_EQ(result.kind, SaveResult::Kind::NothingToSave);
    EXPECT_EQ(result.message(), "没有可保存的");
    EXPECT_FALSE(exists(app / "save"));
    EXPECT_EQ(list.savePath(), "");
}

TEST(RecordSaver, FirstSaveMakesTheFolderAndASecondRewritesTheSameFile) {
    TempFolder app;
    RecordSaver saver(app.path());
    EXPECT_EQ(saver.saveFolder(), app / "save");
    RecordList list = listWith({"12+3.5=15.5", "(-2)*3=-6"});

    const SaveResult first = saver.saveRecords(list);
    ASSERT_EQ(first.kind, SaveResult::Kind::Saved);
    EXPECT_EQ(first.path, app / "save/1.txt");
    EXPECT_EQ(first.message(), "记录已保存到" + app / "save/1.txt");
    EXPECT_EQ(list.savePath(), app / "save/1.txt");
    EXPECT_EQ(readFile(app / "save/1.txt"), "12+3.5=15.5\r\n(-2)*3=-6\r\n");

    list.recordCalculation("1/4=0.25");
    const SaveResult second = saver.saveRecords(list);
    EXPECT_EQ(second.path, app / "save/1.txt");
    EXPECT_EQ(readFile(app / "save/1.txt"), "12+3.5=15.5\r\n(-2)*3=-6\r\n1/4=0.25\r\n");
    EXPECT_EQ(testfiles::entryCount(app / "save"), 1);
}

TEST(RecordSaver, AfterAClearTheNextSaveTakesANewNumber) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list = listWith({"1+1=2"});
    ASSERT_EQ(saver.saveRecords(list).kind, SaveResult::Kind::Saved);
    list.clearRecords();
    list.recordCalculation("2+2=4");
    EXPECT_EQ(saver.saveRecords(list).path, app / "save/2.txt");
    EXPECT_EQ(readFile(app / "save/1.txt"), "1+1=2\r\n");
    EXPECT_EQ(readFile(app / "save/2.txt"), "2+2=4\r\n");
}

TEST(RecordSaver, TakesTheLowestFreeNumber) {
    struct Case {
        std::vector<int> present;
        std::string expected;
    };
    std::vector<int> allHundred;
    for (int n = 1; n <= 100; ++n) {
        allHundred.push_back(n);
    }
    std::vector<int> beyond = allHundred;
    beyond.push_back(101);
    const Case cases[] = {
        {{}, "1.txt"},           {{1, 3}, "2.txt"},   {{2, 3}, "1.txt"},
        {allHundred, "101.txt"}, {beyond, "102.txt"},
    };
    for (const auto& c : cases) {
        TempFolder app;
        std::filesystem::create_directory(app / "save");
        for (const int n : c.present) {
            writeFile(app / ("save/" + std::to_string(n) + ".txt"), "earlier");
        }
        RecordList list = listWith({"5-7=-2"});
        const SaveResult result = RecordSaver(app.path()).saveRecords(list);
        EXPECT_EQ(result.path, app / ("save/" + c.expected));
        EXPECT_EQ(readFile(result.path), "5-7=-2\r\n");
        EXPECT_FALSE(exists(app / "save/.txt"));
        for (const int n : c.present) {
            EXPECT_EQ(readFile(app / ("save/" + std::to_string(n) + ".txt")), "earlier");
        }
    }
}

TEST(RecordSaver, AnyEntryOfTheNameTakesItsNumber) {
    TempFolder app;
    std::filesystem::create_directories(app / "save/1.txt");
    std::filesystem::create_symlink("nowhere", app / "save/2.txt");
    RecordList list = listWith({"1+1=2"});
    EXPECT_EQ(RecordSaver(app.path()).saveRecords(list).path, app / "save/3.txt");
}

TEST(RecordSaver, AFolderThatWentAwayBetweenSavesIsMadeAgain) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list = listWith({"1+1=2"});
    ASSERT_EQ(saver.saveRecords(list).kind, SaveResult::Kind::Saved);
    std::filesystem::remove_all(app / "save");
    const SaveResult again = saver.saveRecords(list);
    EXPECT_EQ(again.kind, SaveResult::Kind::Saved);
    EXPECT_EQ(readFile(app / "save/1.txt"), "1+1=2\r\n");
}

TEST(RecordSaver, APlainFileWhereTheFolderShouldBeFailsAndKeepsTheRecord) {
    TempFolder app;
    writeFile(app / "save", "not a folder");
    RecordList list = listWith({"1+1=2", "2*3=6"});
    const SaveResult result = RecordSaver(app.path()).saveRecords(list);
    EXPECT_EQ(result.kind, SaveResult::Kind::Failed);
    EXPECT_EQ(result.path, app / "save");
    EXPECT_NE(result.message().find(app / "save"), std::string::npos);
    EXPECT_EQ(result.message().find("记录已保存到"), std::string::npos);
    EXPECT_EQ(result.message(), "保存失败：无法创建文件夹 " + app / "save" + "（已有同名的文件）");
    EXPECT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.savePath(), "");
    EXPECT_EQ(readFile(app / "save"), "not a folder");
}

TEST(RecordSaver, AMissingApplicationFolderFails) {
    TempFolder app;
    RecordList list = listWith({"1+1=2"});
    const SaveResult result = RecordSaver(app / "gone").saveRecords(list);
    EXPECT_EQ(result.kind, SaveResult::Kind::Failed);
    EXPECT_NE(result.message().find(app / "gone/save"), std::string::npos);
    EXPECT_EQ(list.savePath(), "");
}

TEST(RecordSaver, AFolderInPlaceOfTheRecordFileFailsAndKeepsThePath) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list = listWith({"1+1=2"});
    ASSERT_EQ(saver.saveRecords(list).kind, SaveResult::Kind::Saved);
    std::filesystem::remove(app / "save/1.txt");
    std::filesystem::create_directory(app / "save/1.txt");

    list.recordCalculation("2+2=4");
    const SaveResult result = saver.saveRecords(list);
    EXPECT_EQ(result.kind, SaveResult::Kind::Failed);
    EXPECT_EQ(result.path, app / "save/1.txt");
    EXPECT_EQ(result.message(),
              "保存失败：无法写入 " + app / "save/1.txt" + "（已有同名的文件夹）");
    // The record still belongs to its file; the lines stay.
    EXPECT_EQ(list.savePath(), app / "save/1.txt");
    EXPECT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(testfiles::entryCount(app / "save"), 1);
}

TEST(RecordSaver, ASizeLimitKeepsThePreviousSave) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list = listWith({"1+1=2"});
    ASSERT_EQ(saver.saveRecords(list).kind, SaveResult::Kind::Saved);
    for (int i = 0; i < 50; ++i) {
        list.recordCalculation("123456789+987654321=1111111110");
    }
    const auto outcome = testfiles::runWithFileSizeLimit(64, [&] {
        const SaveResult result = saver.saveRecords(list);
        return result.kind == SaveResult::Kind::Failed &&
               result.message() ==
                   "保存失败：无法写入 " + app / "save/1.txt" + "（文件超出允许的大小）" &&
               list.savePath() == app / "save/1.txt";
    });
    EXPECT_EQ(outcome, ChildOutcome::ReturnedTrue);
    EXPECT_EQ(readFile(app / "save/1.txt"), "1+1=2\r\n");
    EXPECT_EQ(testfiles::entryCount(app / "save"), 1);
}

TEST(RecordSaver, AFailedFirstWriteLeavesTheNumberFree) {
    TempFolder app;
    RecordSaver saver(app.path());
    RecordList list = listWith(std::vector<std::string>(40, "123456789+987654321=1111111110"));
    const auto outcome = testfiles::runWithFileSizeLimit(64, [&] {
        return saver.saveRecords(list).kind == SaveResult::Kind::Failed && list.savePath().empty();
    });
    EXPECT_EQ(outcome, ChildOutcome::ReturnedTrue);
    EXPECT_FALSE(exists(app / "save/1.txt"));

    // Without the limit the next try takes the same number.
    EXPECT_EQ(saver.saveRecords(list).path, app / "save/1.txt");
}

// Copies of the program saving at the same moment each get a number of their own.
TEST(RecordSaver, SaversAtTheSameMomentKeepEveryRecord) {
    constexpr int kSavers = 8;
    TempFolder app;
    std::vector<RecordList> lists;
    for (int i = 0; i < kSavers; ++i) {
        lists.push_back(listWith({std::to_string(i) + "+0=" + std::to_string(i)}));
    }
    std::latch start(kSavers);
    std::vector<std::thread> savers;
    for (auto& list : lists) {
        savers.emplace_back([&] {
            start.arrive_and_wait();
            EXPECT_EQ(RecordSaver(app.path()).saveRecords(list).kind, SaveResult::Kind::Saved);
        });
    }
    for (auto& saver : savers) {
        saver.join();
    }
    std::set<std::string> paths;
    for (const auto& list : lists) {
        paths.insert(list.savePath());
        EXPECT_EQ(readFile(list.savePath()), list.lines().front() + "\r\n");
    }
    EXPECT_EQ(paths.size(), std::size_t{kSavers});
    EXPECT_EQ(testfiles::entryCount(app / "save"), kSavers);
}

// A kill between writing and renaming leaves a temporary file; the next save removes it
// once it is old enough not to be another copy's save in progress.
TEST(RecordSaver, RemovesItsOwnStaleTemporaryFilesOnly) {
    TempFolder app;
    std::filesystem::create_directories(app / "save");
    const std::string stale = app / "save/.4.txt.Ab3dE9";
    const std::string young = app / "save/.5.txt.Zx81qQ";
    const std::string foreign = app / "save/.notes.txt.Ab3dE9";
    for (const auto& path : {stale, young, foreign}) {
        writeFile(path, "partial");
    }
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2);
    std::filesystem::last_write_time(stale, old);
    std::filesystem::last_write_time(foreign, old);
    RecordList list = listWith({"1+1=2"});
    ASSERT_EQ(RecordSaver(app.path()).saveRecords(list).kind, SaveResult::Kind::Saved);
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(young));
    EXPECT_TRUE(exists(foreign));
}
