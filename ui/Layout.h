// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Twips.h"

// Places of the main window's controls other than the keys (the keys are in the key
// table), relative to the window's client area; the indicator's is relative to the display.
namespace ui::layout {

inline constexpr TwipsRect kDisplay{230, 682, 3476, 720};
inline constexpr TwipsRect kIndicator{0, 0, 300, 240};
inline constexpr TwipsRect kAboutIcon{120, 120, 480, 480};
inline constexpr TwipsRect kMinimise{3000, 160, 300, 270};
inline constexpr TwipsRect kClose{3360, 120, 300, 330};
inline constexpr TwipsRect kRecordTab{3740, 1605, 210, 2835};
inline constexpr TwipsRect kCountLabel{5760, 480, 165, 300};
inline constexpr TwipsRect kFullNotice{5040, 600, 1680, 210};
inline constexpr TwipsRect kRecordList{4120, 840, 3580, 4590};
inline constexpr TwipsRect kClearLabel{4200, 5640, 420, 210};
inline constexpr TwipsRect kViewLabel{5040, 5640, 420, 210};
inline constexpr TwipsRect kSaveLabel{5760, 5640, 1050, 210};
inline constexpr TwipsRect kStopLabel{7200, 5640, 420, 210};

inline constexpr int kAboutCursorHotX = 12;
inline constexpr int kAboutCursorHotY = 1;

// About window: client area and its controls.
inline constexpr TwipsRect kAboutClient{0, 0, 5175, 2925};
inline constexpr int kAuthorLeft = 1440;
inline constexpr int kAuthorTops[] = {360, 720, 1080, 1400};
inline constexpr int kAuthorHeight = 210;
inline constexpr TwipsRect kHelpFrame{120, 1680, 4695, 1095};
inline constexpr TwipsRect kHelpLines[] = {
    {360, 1800, 4230, 180},
    {360, 2130, 4320, 180},
    {360, 2475, 4050, 180},
};
// The About window opens this far from the main window's top left corner.
inline constexpr int kAboutOffsetX = -600;
inline constexpr int kAboutOffsetY = 1800;

} // namespace ui::layout
