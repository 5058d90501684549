// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine/DisplayLayout.h"
#include "record/RecordList.h"
#include "settings/MenuItems.h"

namespace settings {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr int kNarrowWidthTwips = 3960;
inline constexpr int kWideWidthTwips = 7920;
inline constexpr int kWindowHeightTwips = 6120;
inline constexpr float kFirstLeftTwips = 3555;
inline constexpr float kFirstTopTwips = 2940;
inline constexpr const char* kNoticeTitle = "提示";
inline constexpr const char* kAppTitle = "语音计算器";

// What the program needs of its main window. The window only draws and forwards events;
// every decision is the program's.
class MainView {
  public:
    virtual ~MainView() = default;

    virtual void paintDisplay(const engine::DisplayLayout& layout) = 0;
    virtual void setDisplayColour(Rgb colour) = 0;
    virtual void setIndicatorVisible(bool visible) = 0;
    virtual void paintKeyFaces() = 0;
    virtual void setMenuChecked(MenuItem item, bool checked) = 0;
    virtual void popupOptionsMenu() = 0;
    // From the keyboard, where the pointer says nothing about where the user looks.
    virtual void popupOptionsMenuAtKey() = 0;
    // A modal box with an OK button only and no icon.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    virtual void showAbout() = 0;
    virtual void closeAbout() = 0;
    // The list, its selection, the count label, the full notice and the scroll range.
    virtual void showRecord(const record::RecordList& list) = 0;
    // Changes the width and rebuilds the rounded outline for it.
    virtual void setWidthTwips(int width) = 0;
    virtual void moveToTwips(float left, float top) = 0;
    virtual void minimise() = 0;
    virtual float leftTwips() const = 0;
    virtual float topTwips() const = 0;
    virtual float widthTwips() const = 0;
    virtual float heightTwips() const = 0;
    // Ends the program at once: no further event runs, an open About window goes too.
    virtual void endProgram() = 0;
    // Moves the record list's selection to a line, as a new line moves it to itself.
    virtual void selectRecordLine(int row) = 0;
    // Gives the screen reader a text to speak at once: the display's number, a record line, a style's name.
    virtual void announce(const std::string& text) = 0;
};

} // namespace settings
