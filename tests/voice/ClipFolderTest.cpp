// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipFolder.h"
#include "TempDir.h"
#include "voice/RunClipFolder.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

using voice::ClipFolder;
using voice::FolderStatus;
using voice::RunClipFolder;
using voicetest::TempDir;

struct PathCase {
    const char* runtimeDir;
    const char* tmpDir;
    uid_t uid;
    const char* expected;
};

TEST(ClipFolder, prefers_the_runtime_folder_and_else_names_the_user_in_the_temporary_one) {
    const PathCase cases[] = {
        {"/run/user/1000", nullptr, 1000, "/run/user/1000/yuyin-jisuanqi"},
        {"/run/user/1000/", "/var/tmp", 1000, "/run/user/1000/yuyin-jisuanqi"},
        {nullptr, nullptr, 1000, "/tmp/yuyin-jisuanqi-1000"},
        {"", nullptr, 0, "/tmp/yuyin-jisuanqi-0"},
        {"relative/run", "/var/tmp/", 42, "/var/tmp/yuyin-jisuanqi-42"},
        {nullptr, "", 42, "/tmp/yuyin-jisuanqi-42"},
        {nullptr, "tmp", 42, "/tmp/yuyin-jisuanqi-42"},
        {nullptr, "/", 7, "/yuyin-jisuanqi-7"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(ClipFolder::choosePath(c.runtimeDir, c.tmpDir, c.uid), c.expected)
            << (c.runtimeDir ? c.runtimeDir : "(unset)") << " / "
            << (c.tmpDir ? c.tmpDir : "(unset)");
    }
}

TEST(ClipFolder, creates_a_missing_folder_private_to_the_user) {
    TempDir dir;
    const std::string folder = dir / "yuyin-jisuanqi";
    ASSERT_EQ(ClipFolder::prepare(folder), FolderStatus::Ready);
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(ClipFolder::prepare(folder), FolderStatus::Ready) << "an existing own folder";

    // An own folder left open to the group or everyone is closed, not refused.
    for (const mode_t open : {0777u, 0770u, 0755u}) {
        ASSERT_EQ(chmod(folder.c_str(), open), 0);
        EXPECT_EQ(ClipFolder::prepare(folder), FolderStatus::Ready) << std::oct << open;
        ASSERT_EQ(lstat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << std::oct << open;
    }
}

struct RefusalCase {
    const char* name;
    void (*plant)(const TempDir&, const std::string& folder);
    FolderStatus expected;
};

TEST(ClipFolder, refuses_a_folder_someone_else_could_control) {
    const RefusalCase cases[] = {
        {"link to a folder",
         [](const TempDir& d, const std::string& f) {
             mkdir((d / "elsewhere").c_str(), 0700);
             symlink((d / "elsewhere").c_str(), f.c_str());
         },
         FolderStatus::SymbolicLink},
        {"dangling link",
         [](const TempDir& d, const std::string& f) {
             symlink((d / "nowhere").c_str(), f.c_str());
         },
         FolderStatus::SymbolicLink},
        {"plain file", [](const TempDir&, const std::string& f) { voicetest::writeBytes(f, {1}); },
         FolderStatus::NotADirectory},
        {"another user's folder",
         [](const TempDir&, const std::string& f) {
             mkdir(f.c_str(), 0700);
             if (chown(f.c_str(), 65534, 65534) != 0) {
                 rmdir(f.c_str());
             }
         },
         FolderStatus::ForeignOwner},
    };
    for (const RefusalCase& c : cases) {
        TempDir dir;
        const std::string folder = dir / "yuyin-jisuanqi";
        c.plant(dir, folder);
        if (c.expected == FolderStatus::ForeignOwner && access(folder.c_str(), F_OK) != 0) {
            continue; // giving a folder away needs root
        }
        EXPECT_EQ(ClipFolder::prepare(folder), c.expected) << c.name;
    }
}

TEST(ClipFolder, cannot_make_a_folder_under_a_plain_file_or_from_nothing) {
    TempDir dir;
    voicetest::writeBytes(dir / "file", {1});
    EXPECT_NE(ClipFolder::prepare(dir / "file/yuyin-jisuanqi"), FolderStatus::Ready);
    EXPECT_NE(ClipFolder::prepare(dir / "missing/yuyin-jisuanqi"), FolderStatus::Ready);
    EXPECT_EQ(ClipFolder::prepare(""), FolderStatus::CannotCreate);
}

TEST(ClipFolder, a_run_without_a_runtime_folder_makes_its_own_and_clears_killed_runs_folders) {
    TempDir dir;
    const std::string shared = dir / "shared";
    ASSERT_EQ(mkdir(shared.c_str(), 01777), 0);
    voicetest::writeBytes(dir / "file", {1});
    const uid_t uid = geteuid();
    const std::string stem = shared + "/yuyin-jisuanqi-" + std::to_string(uid);
    {
        const RunClipFolder fixed((dir / "").c_str(), shared.c_str(), uid);
        EXPECT_EQ(fixed.path(), dir / "yuyin-jisuanqi");
        EXPECT_FALSE(fixed.temporary());
    }
    std::string made;
    for (const std::string& runtime : {dir / "missing", dir / "file", std::string()}) {
        const RunClipFolder run(runtime.c_str(), shared.c_str(), uid);
        made = run.path();
        ASSERT_EQ(made.substr(0, stem.size() + 1), stem + "-") << runtime;
        EXPECT_TRUE(run.temporary());
        EXPECT_EQ(ClipFolder::prepare(made), FolderStatus::Ready);
        voicetest::writeBytes(made + "/105.wav", {1});
    }
    EXPECT_FALSE(std::filesystem::exists(made)) << "a run removes its own folder at its end";

    // Folders older than a day, of which only the one no run holds is taken for left behind.
    const std::time_t now = std::time(nullptr);
    const std::string left = stem + "-Ab12Cd";
    const std::string recent = stem + "-Ef34Gh";
    ASSERT_EQ(mkdir(left.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(recent.c_str(), 0700), 0);
    voicetest::writeBytes(left + "/105.wav", {1});
    EXPECT_EQ(RunClipFolder(nullptr, (dir / "missing").c_str(), uid).path().substr(0, 20),
              "/tmp/yuyin-jisuanqi-")
        << "a missing TMPDIR";
    const RunClipFolder running(nullptr, shared.c_str(), uid);
    const utimbuf old{now - 2 * RunClipFolder::kLeftBehindSeconds,
                      now - 2 * RunClipFolder::kLeftBehindSeconds};
    ASSERT_EQ(utime(left.c_str(), &old), 0);
    ASSERT_EQ(utime(running.path().c_str(), &old), 0);
    RunClipFolder::removeLeftBehind(shared, "yuyin-jisuanqi-" + std::to_string(uid) + "-", uid,
                                    now);
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(recent));
    EXPECT_TRUE(std::filesystem::exists(running.path() + "/.")) << "a run still holds it";
}

} // namespace
