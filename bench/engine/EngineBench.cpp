// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <random>

#include "engine/Calculator.h"

namespace {

// Swallows every effect, so only the engine itself is measured.
struct SilentEvents : engine::CalculatorEvents {
    std::size_t effects = 0;
    void displayChanged(const engine::DisplayLayout& layout) override {
        effects += layout.text.size();
    }
    void playClip(int clip) override { effects += static_cast<std::size_t>(clip); }
    void recordCalculation(const std::string& line) override { effects += line.size(); }
    void showNotice(const std::string&) override { ++effects; }
    void startReading(const std::string&) override { ++effects; }
    void popupOptionsMenu() override { ++effects; }
};

void OneKeyPress(benchmark::State& state) {
    SilentEvents events;
    engine::Calculator calc(events);
    for (auto _ : state) {
        calc.press(engine::Key::Seven);
        calc.press(engine::Key::Backspace);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    benchmark::DoNotOptimize(events.effects);
}
BENCHMARK(OneKeyPress);

void EvaluationWithNormalisation(benchmark::State& state) {
    SilentEvents events;
    engine::Calculator calc(events);
    calc.setVoiceOn(false);
    for (auto _ : state) {
        calc.typeCharacter('2');
        calc.typeCharacter('/');
        calc.typeCharacter('3');
        calc.typeCharacter('=');
    }
    benchmark::DoNotOptimize(events.effects);
}
BENCHMARK(EvaluationWithNormalisation);

void TenThousandRandomKeys(benchmark::State& state) {
    const std::string keys = "0123456789.+-*/=\b \\";
    std::mt19937 random(7);
    std::vector<char> sequence(10000);
    for (char& c : sequence) {
        c = keys[random() % keys.size()];
    }
    for (auto _ : state) {
        SilentEvents events;
        engine::Calculator calc(events);
        for (char c : sequence) {
            calc.typeCharacter(static_cast<unsigned char>(c));
            calc.finishSpeaking();
        }
        benchmark::DoNotOptimize(events.effects);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(TenThousandRandomKeys);

} // namespace
