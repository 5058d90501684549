// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using platform::SingleInstance;
using Role = SingleInstance::Role;

namespace {

// Leaves a socket file behind as a killed program would: bound, then never listened on.
void leaveDeadSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

} // namespace

TEST(SingleInstance, one_program_per_folder_and_later_launches_bring_it_forward) {
    QTemporaryDir state;
    const std::string folder = state.path().toStdString();
    int requests = 0;
    {
        SingleInstance first("/opt/calc", folder);
        ASSERT_EQ(first.role(), Role::First);
        first.watch([&requests] { ++requests; });

        EXPECT_EQ(SingleInstance("/opt/calc", folder).role(), Role::Second);
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 5000));
        // Another folder is another program.
        EXPECT_EQ(SingleInstance("/opt/other", folder).role(), Role::First);
    }
    // A program that ended took its socket with it.
    EXPECT_EQ(SingleInstance("/opt/calc", folder).role(), Role::First);
    // Without a private folder the program still runs.
    EXPECT_EQ(SingleInstance("/opt/calc", std::string()).role(), Role::Alone);
}

TEST(SingleInstance, a_dead_socket_or_stray_file_never_stops_a_start_and_others_are_kept) {
    QTemporaryDir state;
    const std::string folder = state.path().toStdString();
    std::string path;
    {
        const SingleInstance probe("/opt/calc", folder);
        path = probe.socketPath();
    }
    leaveDeadSocket(path);
    EXPECT_EQ(SingleInstance("/opt/calc", folder).role(), Role::First);

    // A plain file there is taken for a socket left behind; anything else is neither
    // replaced nor in the way of running, and the program says why it runs unguarded.
    QFile stray(QString::fromStdString(path));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    EXPECT_EQ(SingleInstance("/opt/calc", folder).role(), Role::First);
    ASSERT_EQ(::mkdir((path + ".d").c_str(), 0700), 0);
    ASSERT_EQ(::rename((path + ".d").c_str(), path.c_str()), 0);
    const SingleInstance blocked("/opt/calc", folder);
    EXPECT_EQ(blocked.role(), Role::Alone);
    EXPECT_NE(blocked.problem().find(path), std::string::npos) << blocked.problem();
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isDir());
}
