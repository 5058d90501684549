// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtReadingTimer.h"
#include "VoiceFakes.h"
#include "voice/SpeechReader.h"
#include "voice/Voice.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

using voicetest::ManualClock;
using voicetest::RecordingPlayer;

TEST(QtReadingTimer, paces_a_real_reading_at_450_ms_a_character) {
    ManualClock clock;
    RecordingPlayer player(clock);
    voice::Voice voice(player, "/clips");
    std::unique_ptr<voice::SpeechReader> reader;
    QElapsedTimer elapsed;
    platform::QtReadingTimer timer([&] {
        clock.nowMs = static_cast<int>(elapsed.elapsed());
        reader->tick();
    });
    reader = std::make_unique<voice::SpeechReader>(voice, timer);
    QEventLoop loop;
    bool finished = false;
    reader->onFinished = [&] {
        finished = true;
        loop.quit();
    };
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);

    std::string result = "15";
    elapsed.start();
    reader->startReading(result, 2);
    EXPECT_TRUE(timer.active());
    loop.exec();

    ASSERT_TRUE(finished);
    EXPECT_FALSE(timer.active());
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_EQ(player.played[0].path, "/clips/101.wav");
    EXPECT_EQ(player.played[1].path, "/clips/105.wav");
    EXPECT_GE(player.played[0].atMs, 440);
    EXPECT_LT(player.played[0].atMs, 700);
    EXPECT_GE(player.played[1].atMs, 890);
    EXPECT_LT(player.played[1].atMs, 1300);
}

TEST(QtReadingTimer, a_stopped_timer_calls_nothing_more) {
    int calls = 0;
    platform::QtReadingTimer timer([&] { ++calls; });
    timer.start(10);
    timer.stop();
    EXPECT_FALSE(timer.active());
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(calls, 0);
}

} // namespace
