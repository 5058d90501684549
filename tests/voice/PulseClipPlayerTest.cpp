// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PulseClipPlayer.h"
#include "TempDir.h"
#include "WavBytes.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A sound server that accepts the connection and then never answers, as a server stopped
// with SIGSTOP does.
class FrozenServer {
  public:
    explicit FrozenServer(const std::string& path) {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof(address.sun_path) - 1);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(fd_, 8) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~FrozenServer() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FrozenServer(const FrozenServer&) = delete;
    FrozenServer& operator=(const FrozenServer&) = delete;
    bool listening() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

enum class Server { Absent, Frozen };

void PrintTo(Server server, std::ostream* os) {
    *os << (server == Server::Absent ? "no server" : "a frozen server");
}

// The player reads PULSE_SERVER when it connects, at the first play; ctest runs every test
// in a process of its own, so each sees the server it sets up here.
class PulseClipPlayerWithoutWorkingServer : public ::testing::TestWithParam<Server> {
  protected:
    void SetUp() override {
        socketPath = dir / "native";
        if (GetParam() == Server::Frozen) {
            // Left open until the process ends, so that the worker is still stuck on it
            // when the program exits.
            static FrozenServer server(socketPath);
            ASSERT_TRUE(server.listening());
        }
        setenv("PULSE_SERVER", ("unix:" + socketPath).c_str(), 1);
        voicetest::writeBytes(dir / "101.wav", voicetest::rampWav(22050 / 3));
    }

    voicetest::TempDir dir;
    std::string socketPath;
};

TEST_P(PulseClipPlayerWithoutWorkingServer, play_returns_at_once_and_shut_down_does_not_hang) {
    auto player = std::make_unique<platform::PulseClipPlayer>();
    const std::vector<std::string> paths = {dir / "101.wav", dir / "missing.wav", ""};
    std::vector<Clock::duration> calls;
    for (int i = 0; i < 60; ++i) {
        const auto started = Clock::now();
        player->play(paths[static_cast<std::size_t>(i) % paths.size()]);
        calls.push_back(Clock::now() - started);
        if (i % 10 == 0) {
            QThread::msleep(20); // let the worker reach the server in between
        }
    }
    std::sort(calls.begin(), calls.end());
    EXPECT_LT(calls[calls.size() / 2], std::chrono::milliseconds(1));
    EXPECT_LT(calls.back(), std::chrono::milliseconds(50));

    QThread::msleep(200);
    const auto shutDown = Clock::now();
    player.reset();
    EXPECT_LT(Clock::now() - shutDown, std::chrono::milliseconds(1000));
}

INSTANTIATE_TEST_SUITE_P(Servers, PulseClipPlayerWithoutWorkingServer,
                         ::testing::Values(Server::Absent, Server::Frozen), [](const auto& info) {
                             return std::string(info.param == Server::Absent ? "absent" : "frozen");
                         });

TEST(PulseClipPlayer, a_player_that_never_played_ends_at_once) {
    const auto started = Clock::now();
    { platform::PulseClipPlayer player; }
    EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(200));
}

} // namespace
