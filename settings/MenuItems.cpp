// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/MenuItems.h"

namespace settings {
namespace {

using enum MenuItem;

constexpr std::array<MenuItemInfo, kMenuItemCount> kItems = {{
    {mensenyin, "mensenyin", "语音报数", true, true},
    {munkai, "munkai", "开启记录", false, true},
    {munkeey, "munkeey", "键盘输入", true, true},
    {munjhy, "munjhy", "-", false, false},
    {munb, "munb", "字体蓝色", true, true},
    {munr, "munr", "字体红色", false, true},
    {munq, "munq", "字体青色", false, true},
    {mnubarl0, "mnubarl0", "-", false, false},
    {munt2, "munt2", "保留2位小数", false, true},
    {munt4, "munt4", "保留4位小数", true, true},
    {munt, "munt", "全部保留", false, true},
    {mnubarl1, "mnubarl1", "-", false, false},
    {munread2, "munread2", "读小数点后2位", true, true},
    {munread4, "munread4", "读小数点后4位", false, true},
    {munread, "munread", "小数点后不读", false, true},
    {mnubarl2, "mnubarl2", "-", false, false},
    {about, "about", "关于/帮助", false, false},
    {munend, "munend", "退出", false, false},
}};

} // namespace

const std::array<MenuItemInfo, kMenuItemCount>& menuItems() {
    return kItems;
}

const MenuItemInfo& menuItemInfo(MenuItem item) {
    return kItems[static_cast<std::size_t>(item)];
}

} // namespace settings
