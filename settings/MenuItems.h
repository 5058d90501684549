// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace settings {

// The items of the options menu, top to bottom; separators have no action.
enum class MenuItem {
    mensenyin,
    munkai,
    munkeey,
    munjhy,
    munb,
    munr,
    munq,
    mnubarl0,
    munt2,
    munt4,
    munt,
    mnubarl1,
    munread2,
    munread4,
    munread,
    mnubarl2,
    about,
    munend,
};

struct MenuItemInfo {
    MenuItem item;
    std::string_view name;
    std::string_view caption; // "-" for a separator
    bool checkedAtStart;
    bool checkable;
};

inline constexpr std::size_t kMenuItemCount = 18;

const std::array<MenuItemInfo, kMenuItemCount>& menuItems();
const MenuItemInfo& menuItemInfo(MenuItem item);

} // namespace settings
