// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/ClipQueue.h"
#include "voice/RetryGate.h"
#include "voice/StreamFormat.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using voice::ClipQueue;
using voice::StreamFormat;

constexpr std::int64_t ms(std::int64_t value) {
    return value * StreamFormat::kRate / 1000;
}

// A sound of `frames` samples all set to `level`, so the output tells which one plays.
ClipQueue::Samples sound(std::int16_t level, std::int64_t frames) {
    return std::make_shared<const std::vector<std::int16_t>>(static_cast<std::size_t>(frames),
                                                             level);
}

// Reads `frames` of output and gives the level at each ms.
std::vector<std::int16_t> listen(ClipQueue& queue, std::int64_t frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames));
    // In small uneven pieces, as the server asks for audio.
    for (std::size_t done = 0; done < out.size();) {
        const std::size_t piece = std::min<std::size_t>(55 + done % 7, out.size() - done);
        queue.read(out.data() + done, piece);
        done += piece;
    }
    std::vector<std::int16_t> perMs;
    for (std::int64_t t = 0; ms(t) < frames; ++t) {
        perMs.push_back(out[static_cast<std::size_t>(ms(t))]);
    }
    return perMs;
}

TEST(ClipQueue, a_new_play_cuts_the_sound_at_once_and_silence_follows_the_last) {
    ClipQueue queue;
    EXPECT_TRUE(queue.add(sound(1, ms(400)), INT64_MAX));
    listen(queue, ms(50));
    EXPECT_TRUE(queue.add(sound(2, ms(100)), ms(50))) << "a key pressed 50 ms after the last";
    const auto heard = listen(queue, ms(200));
    EXPECT_EQ(heard[0], 2);
    EXPECT_EQ(heard[99], 2);
    EXPECT_EQ(heard[100], 0);
    EXPECT_EQ(queue.silentFrames(), ms(100));
}

TEST(ClipQueue, plays_bunched_by_a_stall_are_each_heard_in_order_for_their_due) {
    // A reading's steps 450 ms apart, all arriving before the first was heard.
    ClipQueue queue;
    EXPECT_TRUE(queue.add(sound(1, ms(400)), INT64_MAX));
    EXPECT_FALSE(queue.add(sound(2, ms(400)), ms(450)));
    EXPECT_FALSE(queue.add(sound(3, ms(80)), ms(450)));
    EXPECT_FALSE(queue.add(sound(4, ms(400)), ms(20))) << "a key pressed 20 ms after the last";
    const auto heard = listen(queue, ms(1200));
    // Sound 3 is cut by sound 4 after 20 ms: that gap was the user's own.
    const std::vector<std::pair<int, std::int16_t>> expected = {
        {0, 1}, {299, 1}, {300, 2}, {599, 2}, {600, 3}, {619, 3}, {620, 4}, {1019, 4}, {1020, 0}};
    for (const auto& [atMs, level] : expected) {
        EXPECT_EQ(heard[static_cast<std::size_t>(atMs)], level) << atMs << " ms";
    }
    EXPECT_FALSE(queue.waiting());
}

TEST(ClipQueue, bounds_the_waiting_sounds_and_restarts_when_nothing_was_heard) {
    ClipQueue queue;
    queue.add(sound(1, ms(400)), INT64_MAX);
    for (int i = 0; i < 100; ++i) {
        queue.add(sound(static_cast<std::int16_t>(i + 2), ms(400)), ms(100));
    }
    const auto heard = listen(queue, ms(100) * (ClipQueue::kMaxWaiting + 1));
    EXPECT_EQ(heard.back(), 101) << "the newest took the last place";

    queue.add(sound(7, ms(400)), ms(100));
    queue.restart(sound(8, ms(10)));
    EXPECT_FALSE(queue.waiting());
    EXPECT_EQ(listen(queue, ms(20)).front(), 8);
}

TEST(StreamFormat, converts_other_rates_and_stereo_to_mono_at_the_stream_rate) {
    voice::PcmSound stereo;
    stereo.sampleRate = 44100;
    stereo.channels = 2;
    for (int frame = 0; frame < 44100; ++frame) {
        stereo.samples.push_back(1000);
        stereo.samples.push_back(3000);
    }
    const auto mono = StreamFormat::convert(stereo);
    EXPECT_EQ(mono.size(), 22050u);
    EXPECT_EQ(mono.front(), 2000);
    EXPECT_EQ(mono.back(), 2000);

    voice::PcmSound own{{1, 2, 3}, StreamFormat::kRate, 1};
    EXPECT_EQ(StreamFormat::convert(own), own.samples);
}

TEST(RetryGate, lets_one_attempt_through_a_second) {
    voice::RetryGate gate;
    EXPECT_TRUE(gate.tryAt(5000)) << "the first play";
    EXPECT_FALSE(gate.tryAt(5000));
    EXPECT_FALSE(gate.tryAt(5999));
    EXPECT_TRUE(gate.tryAt(6000));
    EXPECT_FALSE(gate.tryAt(6500));
    EXPECT_TRUE(gate.tryAt(60000)) << "after a long quiet time";
}

} // namespace
