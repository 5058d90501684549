// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "engine/Calculator.h"

// Records every effect the calculator has on the rest of the program.
struct RecordingEvents : engine::CalculatorEvents {
    std::vector<engine::DisplayLayout> displays;
    std::vector<int> clips;
    std::vector<std::string> records;
    std::vector<std::string> notices;
    std::vector<std::string> readings;
    int menuPopups = 0;

    void displayChanged(const engine::DisplayLayout& layout) override {
        displays.push_back(layout);
    }
    void playClip(int clip) override { clips.push_back(clip); }
    void recordCalculation(const std::string& line) override { records.push_back(line); }
    void showNotice(const std::string& text) override { notices.push_back(text); }
    void startReading(const std::string& text) override { readings.push_back(text); }
    void popupOptionsMenu() override { ++menuPopups; }

    void clear() { *this = RecordingEvents(); }
};

// Types a sequence the way a user would on the keyboard; "n" stands for the sign key and
// "c" for clear, "b" for backspace, so tables stay readable.
inline void typeKeys(engine::Calculator& calc, const std::string& keys) {
    for (char c : keys) {
        switch (c) {
        case 'n':
            calc.press(engine::Key::Sign);
            break;
        case 'c':
            calc.press(engine::Key::Clear);
            break;
        case 'b':
            calc.press(engine::Key::Backspace);
            break;
        default:
            calc.typeCharacter(static_cast<unsigned char>(c));
            break;
        }
        // Readings end at once, so a table can go on after an equals.
        calc.finishSpeaking();
    }
}
