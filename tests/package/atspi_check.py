#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the running calculator the way a screen reader does, through AT-SPI.

Finds the program by its process id in the accessibility tree, checks that the main window,
the keys, the display, the options menu and the record list are there and named, that the
record panel's controls show only while the panel is open and that each control a key works
names that key, presses keys with their accessible actions and checks that the display's
value follows, that with the voice off a result is announced, and that Ctrl+Shift+Delete
empties the record.

Usage: atspi_check.py PID [--no-x11]
       atspi_check.py PID --exit
  --no-x11   no X server to type Escape on: the options menu is left open while the keys are
             pressed (a pop-up menu has no accessible action that closes it)
  --exit     only press the exit key, which saves the settings and ends the program

Prints one line per check; exits 1 on the first failure, 0 when all passed.
"""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

KEYS = ["一", "二", "三", "四", "五", "六", "七", "八", "九", "零", "小数点", "正负号",
        "清空", "退格", "选项", "加", "减", "乘", "除", "等于"]
MENU_ITEMS = ["语音报数", "开启记录", "键盘输入", "字体蓝色", "字体红色", "字体青色",
              "保留2位小数", "保留4位小数", "全部保留", "读小数点后2位", "读小数点后4位",
              "小数点后不读", "关于/帮助", "退出"]
DISPLAY = "显示"
RECORD_LIST = "计算记录"
# The record panel's controls; they lie beyond the edge of the narrow window.
PANEL = [RECORD_LIST, "记录条数", "清空记录", "查看长算式", "保存到文件", "停止记录"]
TITLE = "语音计算器"
# The keys a screen reader is told for each control's press action.
KEY_BINDINGS = {"选项": "Menu;Shift+F10", "关于": "F1", "开启记录功能": "F2", "停止记录": "F2",
                "查看长算式": "F3", "清空记录": "Ctrl+Shift+Del", "保存到文件": "Ctrl+S",
                "最小化": "F9"}
ANNOUNCEMENTS = [
    "object:property-change:accessible-value",
    "object:property-change:accessible-description",
    "object:property-change:accessible-name",
    "object:text-changed",
]


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok:", what, flush=True)


def pump(seconds):
    """Runs the main loop for a while so that events and replies arrive."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        context.iteration(False)
        time.sleep(0.01)


def wait_until(predicate, seconds):
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        context.iteration(False)
        time.sleep(0.02)
    return predicate()


def walk(node):
    if node is None:
        return
    yield node
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:  # a child that went away while we looked
            continue
        yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        try:
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        except Exception:
            continue
    return None


def named(app, name, visible=True):
    """The first object of that name, among the showing ones unless told otherwise."""
    for node in walk(app):
        try:
            if node.name == name and (not visible or showing(node)):
                return node
        except Exception:
            continue
    return None


def press(node):
    action = node.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in ("Press", "press", "click"):
            return action.doAction(index)
    return action.doAction(0)


class Listener:
    """Keeps what was announced about the display."""

    def __init__(self):
        self.heard = []
        self.popup = None
        pyatspi.Registry.registerEventListener(self.on_event, *ANNOUNCEMENTS)
        pyatspi.Registry.registerEventListener(self.on_showing, "object:state-changed:showing")

    def on_showing(self, event):
        try:
            if event.detail1 == 1 and event.source.getRoleName() == "popup menu":
                self.popup = event.source
        except Exception:
            pass

    def on_event(self, event):
        try:
            if event.source is None or event.source.name != DISPLAY:
                return
            self.heard.append((event.type, event.source.description, str(event.any_data)))
        except Exception:
            pass

    def heard_text(self, text):
        return any(description == text or data == text for _, description, data in self.heard)


def display_value(app):
    return named(app, DISPLAY).queryValue().currentValue


def press_and_show(app, key, expected):
    node = named(app, key)
    check(node is not None, f"key {key} is reachable")
    press(node)
    check(wait_until(lambda: display_value(app) == expected, 10),
          f"pressing {key} makes the display's value {expected} ({display_value(app)})")


def press_and_hear(listener, app, key, expected):
    listener.heard.clear()
    press(named(app, key))
    heard = wait_until(lambda: listener.heard_text(expected), 10)
    check(heard, f"pressing {key} announces {expected!r} (heard: {listener.heard[:4]})")


def check_key_bindings(app):
    for name, keys in KEY_BINDINGS.items():
        node = next((n for n in walk(app) if n.name == name and showing(n) and
                     n.getRoleName() in ("push button", "button")), None)
        check(node is not None, f"the control {name} is a button")
        action = node.queryAction()
        bindings = [action.getKeyBinding(i) for i in range(action.nActions)]
        check(keys in bindings, f"{name} names its key {keys} ({bindings})")
    exit_key = next(n for n in walk(app) if n.name == "退出" and
                    n.getRoleName() in ("push button", "button"))
    check(exit_key.queryAction().getKeyBinding(0) == "Ctrl+Q", "退出 names its key Ctrl+Q")


def choose(listener, app, item):
    """Chooses an item of the options menu and closes the menu."""
    listener.popup = None
    press(named(app, "选项"))
    menu = wait_until(lambda: listener.popup, 10)
    check(menu is not None, "the options menu opens again")
    press(next(node for node in walk(menu) if node.name == item))
    if showing(menu):
        subprocess.run(["xdotool", "key", "Escape"], check=True)
    check(wait_until(lambda: not showing(menu), 10), "the menu closes")


def type_at_window(pid, *keys):
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                            capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    subprocess.run(["xdotool", "key", *keys], check=True)


def check_tree(app):
    window = wait_until(lambda: named(app, TITLE), 10)
    check(window is not None, f"the main window is named {TITLE}")
    check(window.getRoleName() in ("frame", "window"),
          f"the main window is a window ({window.getRoleName()!r})")
    for key in KEYS:
        node = named(app, key)
        check(node is not None and node.getRoleName() in ("push button", "button"),
              f"key {key} is a named button")
    display = named(app, DISPLAY)
    check(display is not None, f"the display is named {DISPLAY}")
    check(display.queryValue().currentValue == 0,
          f"the display's value is its text 0 ({display.queryValue().currentValue})")


def window_width(app):
    return named(app, TITLE).queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width


def check_menu_and_record(app, listener):
    check(window_width(app) == 264, "the window starts narrow, the record panel closed")
    for name in PANEL:
        check(named(app, name) is None, f"the closed panel's {name} is not showing")
    # Pop-up menus are not children of the application: a screen reader meets one through
    # the event that says it is showing.
    press(named(app, "选项"))
    menu = wait_until(lambda: listener.popup, 10)
    check(menu is not None and menu.name == "选项", "the options key opens the menu 选项")
    items = {node.name: node for node in walk(menu) if node is not menu and node.name}
    for item in MENU_ITEMS:
        check(item in items, f"menu item {item} is reachable")
    press(items["开启记录"])
    check(wait_until(lambda: window_width(app) == 528, 10),
          "choosing 开启记录 opens the record panel")
    record_list = wait_until(lambda: named(app, RECORD_LIST), 10)
    check(record_list is not None and record_list.getRoleName() in ("list", "list box"),
          f"the record list {RECORD_LIST} is reachable")
    for name in PANEL:
        check(named(app, name) is not None, f"the open panel's {name} is showing")
    return menu, record_list


def record_lines(record_list):
    return [child.name for child in walk(record_list) if child is not record_list]


def press_exit(app):
    # The options menu has an item of the same name; the key is the button.
    node = next((n for n in walk(app) if n.name == "退出" and showing(n) and
                 n.getRoleName() in ("push button", "button")), None)
    check(node is not None, "the exit key 退出 is a named button")
    try:
        press(node)
    except Exception:  # the program may be gone before it answers
        pass
    print("ok: the exit key was pressed", flush=True)


def main():
    pid = int(sys.argv[1])
    can_type = "--no-x11" not in sys.argv[2:]
    listener = Listener()
    app = wait_until(lambda: find_application(pid), 30)
    check(app is not None, f"the program (pid {pid}) is in the accessibility tree")
    if "--exit" in sys.argv[2:]:
        press_exit(app)
        return

    check_tree(app)
    menu, record_list = check_menu_and_record(app, listener)
    if can_type:
        # A pop-up menu has no close action; Escape is what a keyboard user presses.
        if showing(menu):
            subprocess.run(["xdotool", "key", "Escape"], check=True)
        check(wait_until(lambda: not showing(menu), 10), "the menu closes")

    check_key_bindings(app)
    press_and_show(app, "一", 1)
    press(named(app, "加"))
    press_and_show(app, "二", 2)
    press_and_show(app, "等于", 3)

    lines = wait_until(lambda: "1+2=3" in record_lines(record_list) and
                       record_lines(record_list), 10)
    check(lines and "1+2=3" in lines, f"the record list reads 1+2=3 ({lines})")
    if not can_type:
        print("accessibility: all checks passed", flush=True)
        return

    def cleared():
        press(named(app, "清空"))
        return display_value(app) == 0

    # Clear waits while the result is read aloud.
    check(wait_until(cleared, 20), "clear works once the reading is over")
    choose(listener, app, "语音报数")
    for key in ("一", "加", "一"):
        press(named(app, key))
    press_and_hear(listener, app, "等于", "2")
    check(wait_until(lambda: len(record_lines(record_list)) == 2, 10), "the record has two lines")
    type_at_window(pid, "ctrl+shift+Delete")
    check(wait_until(lambda: not record_lines(record_list), 10),
          f"Ctrl+Shift+Delete empties the record ({record_lines(record_list)})")
    print("accessibility: all checks passed", flush=True)


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr, flush=True)
        sys.exit(1)
