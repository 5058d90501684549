// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipExtractor.h"
#include "TempDir.h"
#include "WavBytes.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using voicetest::readBytes;
using voicetest::TempDir;
using voicetest::writeBytes;

std::vector<voice::ClipData> nineteenClips() {
    std::vector<voice::ClipData> clips;
    for (int n = 100; n <= 118; ++n) {
        auto bytes = voicetest::rampWav(200 + n);
        // Like some of the real recordings: bytes after the RIFF data that must survive.
        bytes.push_back(0);
        bytes.push_back(0);
        clips.push_back({n, bytes});
    }
    return clips;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::set<std::string> clipNames() {
    std::set<std::string> names;
    for (int n = 100; n <= 118; ++n) {
        names.insert(std::to_string(n) + ".wav");
    }
    return names;
}

class ClipExtraction : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = dir / "clips";
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    }

    void expectAllClipsAsCarried() {
        for (const auto& clip : clips) {
            const std::string path = folder + "/" + std::to_string(clip.number) + ".wav";
            EXPECT_FALSE(fs::is_symlink(path)) << path;
            EXPECT_EQ(readBytes(path), clip.bytes) << path;
        }
    }

    TempDir dir;
    std::string folder;
    std::vector<voice::ClipData> clips = nineteenClips();
};

TEST_F(ClipExtraction, writes_every_clip_byte_for_byte_and_leaves_nothing_else) {
    EXPECT_TRUE(voice::extractClips(folder, clips));
    expectAllClipsAsCarried();
    EXPECT_EQ(namesIn(folder), clipNames());
}

TEST_F(ClipExtraction, a_second_start_leaves_the_same_files) {
    ASSERT_TRUE(voice::extractClips(folder, clips));
    EXPECT_TRUE(voice::extractClips(folder, clips));
    expectAllClipsAsCarried();
    EXPECT_EQ(namesIn(folder), clipNames());
}

TEST_F(ClipExtraction, replaces_a_longer_stale_file_whole_instead_of_keeping_its_tail) {
    writeBytes(folder + "/105.wav", std::vector<std::uint8_t>(100000, 0xee));
    ASSERT_TRUE(voice::extractClips(folder, clips));
    expectAllClipsAsCarried();
}

TEST_F(ClipExtraction, replaces_a_planted_link_instead_of_writing_through_it) {
    const std::string victim = dir / "victim.txt";
    const std::vector<std::uint8_t> original = {'k', 'e', 'e', 'p'};
    writeBytes(victim, original);
    ASSERT_EQ(symlink(victim.c_str(), (folder + "/105.wav").c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), (folder + "/106.wav").c_str()), 0);
    EXPECT_TRUE(voice::extractClips(folder, clips));
    EXPECT_EQ(readBytes(victim), original);
    expectAllClipsAsCarried();
}

TEST_F(ClipExtraction, a_link_planted_at_the_temporary_name_is_not_followed_either) {
    const std::string victim = dir / "victim.txt";
    const std::vector<std::uint8_t> original = {'s', 'a', 'f', 'e'};
    writeBytes(victim, original);
    const std::string temporary = folder + "/.105.wav." + std::to_string(getpid()) + ".tmp";
    ASSERT_EQ(symlink(victim.c_str(), temporary.c_str()), 0);
    EXPECT_TRUE(voice::extractClips(folder, clips));
    EXPECT_EQ(readBytes(victim), original);
    expectAllClipsAsCarried();
    EXPECT_EQ(namesIn(folder), clipNames());
}

TEST_F(ClipExtraction, a_clip_that_cannot_be_written_does_not_stop_the_others) {
    ASSERT_EQ(mkdir((folder + "/107.wav").c_str(), 0700), 0);
    EXPECT_FALSE(voice::extractClips(folder, clips));
    EXPECT_TRUE(fs::is_directory(folder + "/107.wav"));
    for (const auto& clip : clips) {
        if (clip.number != 107) {
            EXPECT_EQ(readBytes(folder + "/" + std::to_string(clip.number) + ".wav"), clip.bytes);
        }
    }
    EXPECT_EQ(namesIn(folder), clipNames()) << "no temporary file left behind";
}

struct RefusedFolder {
    const char* name;
    // Makes the folder to write into inside a fresh temporary folder; returns its path.
    std::string (*make)(const TempDir&);
};

std::string linkToOwnFolder(const TempDir& dir) {
    mkdir((dir / "real").c_str(), 0700);
    symlink((dir / "real").c_str(), (dir / "clips").c_str());
    return dir / "clips";
}

std::string foreignFolder(const TempDir& dir) {
    mkdir((dir / "clips").c_str(), 0700);
    if (chown((dir / "clips").c_str(), 65534, 65534) != 0) {
        return {};
    }
    return dir / "clips";
}

std::string openFolder(const TempDir& dir) {
    mkdir((dir / "clips").c_str(), 0700);
    chmod((dir / "clips").c_str(), 0777);
    return dir / "clips";
}

std::string plainFile(const TempDir& dir) {
    writeBytes(dir / "clips", {1, 2, 3});
    return dir / "clips";
}

std::string missingFolder(const TempDir& dir) {
    return dir / "none";
}

std::string noFolder(const TempDir&) {
    return {};
}

void PrintTo(const RefusedFolder& c, std::ostream* os) {
    *os << c.name;
}

class FolderRefusal : public ::testing::TestWithParam<RefusedFolder> {};

TEST_P(FolderRefusal, writes_nothing_and_reports_failure) {
    TempDir dir;
    const std::string folder = GetParam().make(dir);
    if (GetParam().make == foreignFolder && folder.empty()) {
        GTEST_SKIP() << "cannot give a folder away without being root";
    }
    const auto before = namesIn(dir.path());
    EXPECT_FALSE(voice::extractClips(folder, nineteenClips()));
    EXPECT_EQ(namesIn(dir.path()), before);
    if (fs::is_directory(dir / "real")) {
        EXPECT_TRUE(fs::is_empty(dir / "real")) << "nothing written through the link";
    }
    if (fs::is_directory(folder) && !fs::is_symlink(folder)) {
        EXPECT_TRUE(fs::is_empty(folder));
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderRefusal,
                         ::testing::Values(RefusedFolder{"link", linkToOwnFolder},
                                           RefusedFolder{"foreign", foreignFolder},
                                           RefusedFolder{"open", openFolder},
                                           RefusedFolder{"file", plainFile},
                                           RefusedFolder{"missing", missingFolder},
                                           RefusedFolder{"none", noFolder}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
