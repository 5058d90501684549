// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "record/AtomicFile.h"
#include "tests/record/TestFiles.h"

using namespace record;
using testfiles::ChildOutcome;
using testfiles::TempFolder;

namespace {

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNothingBeside) {
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"", "new"},
        {"a much longer old content\r\n", "short"},
        {"old", ""},
        {"old", std::string(1 << 20, 'x')},
        {"old", std::string("binary\0bytes\xff", 13)},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string target = folder / "file.txt";
        testfiles::writeFile(target, c.before);
        std::error_code error;
        EXPECT_TRUE(AtomicFile::write(target, c.after, error));
        EXPECT_FALSE(error);
        EXPECT_EQ(testfiles::readFile(target), c.after);
        EXPECT_EQ(testfiles::entryCount(folder.path()), 1);
    }
}

TEST(AtomicFile, KeepsTheModeOfTheReplacedFileAndGivesANewOneTheUmask) {
    TempFolder folder;
    const std::string kept = folder / "kept";
    testfiles::writeFile(kept, "old");
    ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
    ASSERT_TRUE(AtomicFile::write(kept, "new"));
    EXPECT_EQ(modeOf(kept), 0640u);

    const mode_t previous = umask(027);
    const bool written = AtomicFile::write(folder / "fresh", "new");
    umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(modeOf(folder / "fresh"), 0640u);
}

// Each of these fails for root as well: no permission bit is involved.
TEST(AtomicFile, AFailedWriteReportsWhyAndLeavesTheOldFile) {
    struct Case {
        const char* what;
        std::function<std::string(const TempFolder&)> prepare; // gives the target
        int expectedErrno;
    };
    const Case cases[] = {
        {"target is a folder",
         [](const TempFolder& f) {
             std::filesystem::create_directory(f / "target");
             testfiles::writeFile(f / "target/inside", "keep");
             return f / "target";
         },
         EISDIR},
        {"parent is a plain file",
         [](const TempFolder& f) {
             testfiles::writeFile(f / "parent", "keep");
             return f / "parent/target";
         },
         ENOTDIR},
        {"parent is missing", [](const TempFolder& f) { return f / "missing/target"; }, ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string target = c.prepare(folder);
        const int entriesBefore = testfiles::entryCount(folder.path());
        std::error_code error;
        EXPECT_FALSE(AtomicFile::write(target, "new content", error));
        EXPECT_EQ(error.value(), c.expectedErrno);
        EXPECT_EQ(testfiles::entryCount(folder.path()), entriesBefore);
    }
}

TEST(AtomicFile, ASizeLimitLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string target = folder / "file.txt";
    const std::string old = "the previous content\r\n";
    testfiles::writeFile(target, old);
    const std::string big(4096, 'n');
    const auto outcome =
        testfiles::runWithFileSizeLimit(100, [&] { return AtomicFile::write(target, big); });
    EXPECT_EQ(outcome, ChildOutcome::ReturnedFalse);
    EXPECT_EQ(testfiles::readFile(target), old);
    EXPECT_EQ(testfiles::entryCount(folder.path()), 1);
}

TEST(AtomicFile, CreateMakesANewFileButNeverReplacesOne) {
    TempFolder folder;
    const std::string target = folder / "1.txt";
    std::error_code error;
    EXPECT_TRUE(AtomicFile::create(target, "first", error));
    EXPECT_FALSE(AtomicFile::create(target, "second", error));
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_EQ(testfiles::readFile(target), "first");
    EXPECT_EQ(testfiles::entryCount(folder.path()), 1);
}
