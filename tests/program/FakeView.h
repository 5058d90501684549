// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/MainView.h"

// Remembers what the program asked of its window, in order.
class FakeView : public settings::MainView {
  public:
    std::vector<std::string> calls;
    engine::DisplayLayout display;
    settings::Rgb colour;
    bool indicator = false;
    std::map<settings::MenuItem, bool> checks;
    std::vector<std::pair<std::string, std::string>> messages;
    int aboutShown = 0;
    int aboutClosed = 0;
    int minimised = 0;
    // What the screen reader was given to speak, in order.
    std::vector<std::string> announced;
    int menuPopups = 0;
    int menuPopupsAtKey = 0;
    int width = 0;
    float left = 0, top = 0;
    bool ended = false;
    std::vector<std::string> listLines;
    std::string countLabel;
    bool fullNotice = false;

    void paintDisplay(const engine::DisplayLayout& layout) override {
        display = layout;
        calls.push_back("display " + layout.text);
    }
    void setDisplayColour(settings::Rgb c) override { colour = c; }
    void setIndicatorVisible(bool visible) override {
        indicator = visible;
        calls.push_back(visible ? "indicator on" : "indicator off");
    }
    void paintKeyFaces() override { calls.push_back("key faces"); }
    void setMenuChecked(settings::MenuItem item, bool checked) override { checks[item] = checked; }
    void popupOptionsMenu() override { ++menuPopups; }
    void popupOptionsMenuAtKey() override { ++menuPopupsAtKey; }
    void showMessage(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
    void showAbout() override { ++aboutShown; }
    void closeAbout() override {
        ++aboutClosed;
        calls.push_back("close about");
    }
    void showRecord(const record::RecordList& list) override {
        listLines = list.lines();
        countLabel = list.countLabel();
        fullNotice = list.full();
        calls.push_back("record");
    }
    void setWidthTwips(int w) override {
        width = w;
        calls.push_back("width " + std::to_string(w));
    }
    void moveToTwips(float l, float t) override {
        left = l;
        top = t;
        calls.push_back("move");
    }
    void minimise() override { ++minimised; }
    float leftTwips() const override { return left; }
    float topTwips() const override { return top; }
    float widthTwips() const override { return static_cast<float>(width); }
    float heightTwips() const override { return settings::kWindowHeightTwips; }
    void endProgram() override { ended = true; }
    void selectRecordLine(int row) override { selectedRow = row; }
    void announce(const std::string& text) override { announced.push_back(text); }

    int selectedRow = -1;
};
