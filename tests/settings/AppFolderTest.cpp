// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/AppFolder.h"

using platform::AppFolder;

namespace {

// An install prefix with its program folders, a data folder and a build tree beside them.
class AppFolderChoice : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        for (const char* folder : {"prefix/bin", "prefix/games", "prefix/libexec/calc",
                                   "prefix/binaries", "prefix/share/calc", "build/bin", "data"}) {
            ASSERT_TRUE(QDir(root_.path()).mkpath(QString::fromLatin1(folder)));
        }
        ASSERT_TRUE(QFile::link(path("prefix"), path("linked")));
    }

    QString path(const char* relative) const {
        return root_.path() + QLatin1Char('/') + QString::fromLatin1(relative);
    }

    QTemporaryDir root_;
};

} // namespace

TEST_F(AppFolderChoice, InstalledCopiesUseTheDataFolderOthersTheirOwn) {
    struct Case {
        const char* executableDir;
        const char* prefix;
        bool installed;
    };
    const Case cases[] = {
        {"prefix/bin", "prefix", true},
        {"prefix/games", "prefix", true},
        {"prefix/libexec/calc", "prefix", true},
        {"prefix/bin/", "prefix/", true},
        // The same folders reached through a link, from either side.
        {"linked/bin", "prefix", true},
        {"prefix/bin", "linked", true},
        {"prefix/../prefix/bin", "prefix", true},
        // A name that merely begins like a program folder, or another folder of the prefix.
        {"prefix/binaries", "prefix", false},
        {"prefix/share/calc", "prefix", false},
        {"prefix", "prefix", false},
        // A build tree or a portable folder.
        {"build/bin", "prefix", false},
        {"build/bin", "missing-prefix", false},
    };
    const QString data = path("data");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.executableDir) + " under " + c.prefix);
        const QString executableDir = path(c.executableDir);
        const QString chosen = AppFolder::choose(executableDir, path(c.prefix), data);
        EXPECT_EQ(chosen, c.installed ? data : QDir::cleanPath(executableDir));
        EXPECT_FALSE(chosen.endsWith(QLatin1Char('/')));
    }
}

TEST_F(AppFolderChoice, WithoutADataFolderTheExecutableFolderServes) {
    EXPECT_EQ(AppFolder::choose(path("prefix/bin"), path("prefix"), QString()), path("prefix/bin"));
    EXPECT_EQ(AppFolder::choose(path("prefix/bin"), QString(), path("data")), path("prefix/bin"));
}

TEST_F(AppFolderChoice, TheDataFolderIsGivenWithoutATrailingSlash) {
    EXPECT_EQ(AppFolder::choose(path("prefix/bin"), path("prefix"), path("data") + "/"),
              path("data"));
}

TEST(AppFolder, TheRunningTestUsesItsBuildFolder) {
    // Tests run from the build tree, never from an installed place.
    EXPECT_EQ(AppFolder::path(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
}
