// SPDX-License-Identifier: GPL-3.0-or-later
// Plays clip files through the program's own sound layer at given times, for the tests and
// the latency measurement that listen at a real sound server.
//
//   clip_play_tool [--end MS] AT_MS:FILE ...
//
// Prints one line per play: "play <at ms> <steady clock ns at the call> <call µs> <file>",
// then "shutdown <ms>" for the time the player took to shut down.

#include "platform/PulseClipPlayer.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Event {
    int atMs = 0;
    std::string file;
};

bool parseArguments(int argc, char** argv, std::vector<Event>& events, int& endMs) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--end" && i + 1 < argc) {
            endMs = std::stoi(argv[++i]);
            continue;
        }
        const auto colon = argument.find(':');
        if (colon == std::string::npos) {
            return false;
        }
        events.push_back({std::stoi(argument.substr(0, colon)), argument.substr(colon + 1)});
        endMs = std::max(endMs, events.back().atMs + 1500);
    }
    return !events.empty();
}

long long nanoseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void playNow(platform::PulseClipPlayer& player, const Event& event) {
    const auto before = Clock::now();
    player.play(event.file);
    const auto after = Clock::now();
    const auto callUs = std::chrono::duration<double, std::micro>(after - before).count();
    std::printf("play %d %lld %.1f %s\n", event.atMs, nanoseconds(before), callUs,
                event.file.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<Event> events;
    int endMs = 0;
    if (!parseArguments(argc, argv, events, endMs)) {
        std::fprintf(stderr, "usage: clip_play_tool [--end MS] AT_MS:FILE ...\n");
        return 2;
    }
    auto player = std::make_unique<platform::PulseClipPlayer>();
    for (const Event& event : events) {
        QTimer::singleShot(event.atMs, Qt::PreciseTimer, &app,
                           [&player, event] { playNow(*player, event); });
    }
    QTimer::singleShot(endMs, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    app.exec();

    const auto before = Clock::now();
    player.reset();
    const auto shutdownMs = std::chrono::duration<double, std::milli>(Clock::now() - before);
    std::printf("shutdown %.1f\n", shutdownMs.count());
    return 0;
}
