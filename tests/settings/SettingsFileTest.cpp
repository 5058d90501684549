// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

#include "settings/SettingsFile.h"
#include "tests/record/TestFiles.h"

using namespace settings;
using testfiles::ChildOutcome;
using testfiles::readFile;
using testfiles::TempFolder;
using testfiles::writeFile;

namespace {

using Position = std::pair<float, float>;

StoredSettings stored(float left, float top, bool open, int colour, int keep, int read) {
    return StoredSettings{left, top, open, colour, keep, read};
}

} // namespace

TEST(SettingsFile, ReadsEveryWellFormedLine) {
    struct Case {
        std::string content;
        StoredSettings expected;
    };
    const Case cases[] = {
        {"1815,1260,#FALSE#,1,2,1\r\n", stored(1815, 1260, false, 1, 2, 1)},
        {"1815,1260,#TRUE#,1,2,1\r\n", stored(1815, 1260, true, 1, 2, 1)},
        {"1815,1260,#true#,3,3,3\n", stored(1815, 1260, true, 3, 3, 3)},
        {"1815,1260,#False#,2,1,2", stored(1815, 1260, false, 2, 1, 2)},
        {"-600.5,12.25,#FALSE#,1,2,1\r\n", stored(-600.5f, 12.25f, false, 1, 2, 1)},
        {"-45000,0.5,#FALSE#,1,2,1\r\n", stored(-45000, 0.5f, false, 1, 2, 1)},
        // Codes outside 1 to 3 are kept as read; the caller applies nothing for them.
        {"0,0,#FALSE#,0,7,-1\r\n", stored(0, 0, false, 0, 7, -1)},
        {"0,0,#FALSE#,32767,-32768,01\r\n", stored(0, 0, false, 32767, -32768, 1)},
        // A seventh field and later lines are ignored.
        {"10,20,#TRUE#,1,2,1,99,extra\r\n", stored(10, 20, true, 1, 2, 1)},
        {"10,20,#TRUE#,1,2,1\r\ngarbage\r\n", stored(10, 20, true, 1, 2, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        const SettingsRead read = SettingsFile::parse(c.content);
        ASSERT_TRUE(read.settings.has_value());
        EXPECT_EQ(*read.settings, c.expected);
        EXPECT_EQ(read.position, Position(c.expected.leftTwips, c.expected.topTwips));
    }
}

// Nothing was applied: the line is not read up to its sixth field, or a number in it does not
// convert.
TEST(SettingsFile, FailsWithoutAPositionWhenANumberFieldIsWrong) {
    const std::string cases[] = {
        "",
        "\r\n",
        "1815,1260,#FALSE#,1,2\r\n",
        "1815,1260,#FALSE#,1,2,\r\n",
        "1815\r\n1260\r\n#FALSE#\r\n1\r\n2\r\n1\r\n",
        "left,1260,#FALSE#,1,2,1\r\n",
        "1815,,#FALSE#,1,2,1\r\n",
        "1815,1260,#FALSE#,one,2,1\r\n",
        "1815,1260,#FALSE#,1,2.5,1\r\n",
        "1815,1260,#FALSE#,1,2,1.0\r\n",
        "1815,1260,#FALSE#,32768,2,1\r\n",
        "1815,1260,#FALSE#,1,-32769,1\r\n",
        "1815,1260,#FALSE#,1,2,99999999999999999999\r\n",
        " 1815,1260,#FALSE#,1,2,1\r\n",
        "+1815,1260,#FALSE#,1,2,1\r\n",
        "1815,1260,#FALSE#,1,2,1 \r\n",
        "1e3,1260,#FALSE#,1,2,1\r\n",
        "0x10,1260,#FALSE#,1,2,1\r\n",
        "nan,1260,#FALSE#,1,2,1\r\n",
        "inf,1260,#FALSE#,1,2,1\r\n",
        "1815,-infinity,#FALSE#,1,2,1\r\n",
        "1e39,1260,#FALSE#,1,2,1\r\n",
        "100000000000000000000000000000000000000000,0,#FALSE#,1,2,1\r\n",
        // Further out than any window can be placed.
        "491520,0,#FALSE#,1,2,1\r\n",
        "0,-1000000,#FALSE#,1,2,1\r\n",
        std::string("18\0"
                    "15,1260,#FALSE#,1,2,1\r\n",
                    25),
        "\xef\xbb\xbf"
        "1815,1260,#FALSE#,1,2,1\r\n",
        "1815;1260;#FALSE#;1;2;1\r\n",
        "\x89PNG\r\n\x1a\n\0\0\0\rIHDR",
    };
    for (const auto& content : cases) {
        SCOPED_TRACE(content);
        const SettingsRead read = SettingsFile::parse(content);
        EXPECT_FALSE(read.settings.has_value());
        EXPECT_FALSE(read.position.has_value());
    }
}

// The window has already moved when field 3 turns out to be no truth value.
TEST(SettingsFile, ABadTruthValueFailsButKeepsThePosition) {
    const std::string cases[] = {
        "1815,1260,yes,1,2,1\r\n",        "1815,1260,TRUE,1,2,1\r\n",    "1815,1260,,1,2,1\r\n",
        "1815,1260,#TRUE ,1,2,1\r\n",     "1815,1260,#TRUE#x,1,2,1\r\n", "1815,1260,-1,1,2,1\r\n",
        "1815,1260,\"#TRUE#\",1,2,1\r\n",
    };
    for (const auto& content : cases) {
        SCOPED_TRACE(content);
        const SettingsRead read = SettingsFile::parse(content);
        EXPECT_FALSE(read.settings.has_value());
        EXPECT_EQ(read.position, Position(1815, 1260));
    }
}

TEST(SettingsFile, OverlongLinesAreRefusedWithoutReadingThemWhole) {
    const std::string good = "1815,1260,#FALSE#,1,2,1";
    // A long seventh field would be ignored, but a line this long is not a settings line.
    const std::string longLine = good + "," + std::string(10 << 20, '7') + "\r\n";
    EXPECT_FALSE(SettingsFile::parse(longLine).position.has_value());
    // Ten megabytes of lines after a good first one do not matter.
    const std::string longTail = good + "\r\n" + std::string(10 << 20, '\n');
    EXPECT_TRUE(SettingsFile::parse(longTail).settings.has_value());

    TempFolder folder;
    writeFile(folder / "long.inf", longLine);
    EXPECT_FALSE(SettingsFile::read(folder / "long.inf").position.has_value());
    writeFile(folder / "tail.inf", longTail);
    EXPECT_TRUE(SettingsFile::read(folder / "tail.inf").settings.has_value());
    // Just below the limit the line is still read.
    const std::string padded = good + "," + std::string(4096 - good.size() - 1, '7') + "\n";
    writeFile(folder / "padded.inf", padded);
    EXPECT_TRUE(SettingsFile::read(folder / "padded.inf").settings.has_value());
}

TEST(SettingsFile, ReadsNothingFromWhatIsNoSettingsFile) {
    TempFolder folder;
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary.push_back(static_cast<char>((i * 151 + 7) & 0xff));
    }
    writeFile(folder / "binary", binary);
    writeFile(folder / "empty", "");
    std::filesystem::create_directory(folder / "folder");
    mkfifo((folder / "pipe").c_str(), 0600);

    for (const char* name : {"missing", "binary", "empty", "folder", "pipe"}) {
        SCOPED_TRACE(name);
        const SettingsRead read = SettingsFile::read(folder / name);
        EXPECT_FALSE(read.settings.has_value());
        EXPECT_FALSE(read.position.has_value());
    }
}

TEST(SettingsFile, FormatsNumbersAsPlainShortDecimals) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {1815, "1815"},
        {-600, "-600"},
        {12.5f, "12.5"},
        {-600.5f, "-600.5"},
        {0.1f, "0.1"},
        {3555, "3555"},
        {0, "0"},
        {-0.0f, "0"},
        {16777216, "16777216"},
        {1e-5f, "0.00001"},
        {std::numeric_limits<float>::infinity(), "0"},
        {std::numeric_limits<float>::quiet_NaN(), "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsFile::formatNumber(c.value), c.text) << c.value;
    }
}

TEST(SettingsFile, WhatIsWrittenReadsBackTheSame) {
    // Panel open, red, keep all, read none.
    const StoredSettings exiting = stored(1815, 1260, true, 2, 3, 2);
    EXPECT_EQ(SettingsFile::format(exiting), "1815,1260,#TRUE#,2,3,2\r\n");
    EXPECT_EQ(SettingsFile::format(stored(3555, 2940, false, 1, 2, 1)),
              "3555,2940,#FALSE#,1,2,1\r\n");

    const StoredSettings samples[] = {
        exiting,
        stored(-600.5f, 0.1f, false, 0, 7, -3),
        stored(12345.678f, -0.001f, true, 3, 1, 3),
    };
    for (const auto& sample : samples) {
        const std::string line = SettingsFile::format(sample);
        SCOPED_TRACE(line);
        EXPECT_EQ(line.substr(0, line.find('#')).find_first_of("eE "), std::string::npos);
        const SettingsRead read = SettingsFile::parse(line);
        ASSERT_TRUE(read.settings.has_value());
        EXPECT_EQ(*read.settings, sample);
    }

    TempFolder folder;
    const std::string path = SettingsFile::settingsPath(folder.path());
    ASSERT_TRUE(SettingsFile::write(path, exiting).ok());
    EXPECT_EQ(readFile(path), "1815,1260,#TRUE#,2,3,2\r\n");
    EXPECT_EQ(SettingsFile::read(path).settings, exiting);
}

TEST(SettingsFile, PathsOfTheTwoFiles) {
    struct Case {
        std::string folder;
        std::string settings;
        std::string sizeRecord;
    };
    const Case cases[] = {
        {"/opt/calc", "/opt/calc/sty.inf", "/opt/calcsty.inf"},
        {"/opt/calc/", "/opt/calc/sty.inf", "/opt/calcsty.inf"},
        {"/", "/sty.inf", "/sty.inf"},
        {"//", "//sty.inf", "//sty.inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsFile::settingsPath(c.folder), c.settings);
        EXPECT_EQ(SettingsFile::sizeRecordPath(c.folder), c.sizeRecord);
    }
}

TEST(SettingsFile, ASizeRecordGoesBesideTheFolderAndNeverOverTheSettings) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "calc");
    EXPECT_TRUE(SettingsFile::writeSizeRecord(folder / "calc", 7920, 4785.5f));
    EXPECT_EQ(readFile(folder / "calcsty.inf"), "7920,4785.5\r\n");
    EXPECT_EQ(testfiles::entryCount(folder / "calc"), 0);

    // At the root the size record would be the settings file itself.
    EXPECT_FALSE(SettingsFile::writeSizeRecord("/", 7920, 4785));
    // A folder with a trailing slash is the same folder.
    EXPECT_TRUE(SettingsFile::writeSizeRecord(folder / "calc/", 3960, 4785));
    EXPECT_EQ(readFile(folder / "calcsty.inf"), "3960,4785\r\n");

    // A plain file where the parent folder should be: nothing can be written, for root too.
    writeFile(folder / "plain", "x");
    EXPECT_FALSE(SettingsFile::writeSizeRecord(folder / "plain/calc", 7920, 4785));
    // The size record's own name taken by a folder.
    std::filesystem::create_directory(folder / "othersty.inf");
    EXPECT_FALSE(SettingsFile::writeSizeRecord(folder / "other", 7920, 4785));
}

TEST(SettingsFile, AFailedWriteLeavesTheOldFileWhole) {
    const std::string old = "1815,1260,#FALSE#,1,2,1\r\n";
    const StoredSettings next = stored(-600.5f, 300, true, 3, 3, 3);
    TempFolder folder;

    // The settings path taken by a folder.
    std::filesystem::create_directory(folder / "taken");
    EXPECT_FALSE(SettingsFile::write(folder / "taken", next).ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));

    // The application folder is a plain file.
    writeFile(folder / "app", old);
    EXPECT_FALSE(SettingsFile::write(SettingsFile::settingsPath(folder / "app"), next).ok());
    EXPECT_EQ(readFile(folder / "app"), old);

    // A size limit smaller than the new line.
    const std::string path = folder / "sty.inf";
    writeFile(path, old);
    const auto outcome =
        testfiles::runWithFileSizeLimit(10, [&] { return SettingsFile::write(path, next).ok(); });
    EXPECT_EQ(outcome, ChildOutcome::ReturnedFalse);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(testfiles::entryCount(folder.path()), 3);
}
