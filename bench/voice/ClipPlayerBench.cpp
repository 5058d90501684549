// SPDX-License-Identifier: GPL-3.0-or-later
// How long PulseClipPlayer::play() holds up the caller. Keys come at human pace, so between
// two measured calls the worker is given time to take the request, and every call takes the
// full way: hand-over plus wake-up of the worker thread.

#include "platform/PulseClipPlayer.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <thread>

namespace {

void playCall(benchmark::State& state) {
    platform::PulseClipPlayer player;
    const std::string path = "/nonexistent/105.wav"; // the fallback: no file system cost
    for (auto _ : state) {
        player.play(path);
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        state.ResumeTiming();
    }
}
BENCHMARK(playCall)->Unit(benchmark::kMicrosecond)->Iterations(500)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
