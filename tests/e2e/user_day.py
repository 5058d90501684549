#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A user's day with the real calculator: first start, sums typed with the voice on and
off, the two refusals, the record panel saved and cleared, every option changed, the
About window, exit and restart in the same state.

    user_day.py <program> <render_display tool>
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sound  # noqa: E402
from harness import Session, wait_for  # noqa: E402

# Places on the window, in logical pixels (the centres of the controls).
OPTIONS_KEY = (135, 290)
RECORD_TAB = (256, 200)
EXIT_KEY = (234, 19)
ABOUT_ICON = (24, 24)
SAVE_LABEL = (419, 383)
CLEAR_LABEL = (294, 383)
DISPLAY = (15, 45, 232, 48)

# Actionable menu items, top to bottom (separators are skipped by the keyboard).
MENU = ["语音报数", "开启记录", "键盘输入", "字体蓝色", "字体红色", "字体青色", "保留2位小数",
        "保留4位小数", "全部保留", "读小数点后2位", "读小数点后4位", "小数点后不读", "关于/帮助",
        "退出"]

BLUE = (0, 0, 255)
MAGENTA = (255, 0, 255)
CYAN = (0, 255, 255)

failures = []


def check(condition, what):
    status = "ok  " if condition else "FAIL"
    print(f"{status} {what}", flush=True)
    if not condition:
        failures.append(what)


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Day:
    def __init__(self, session, renderer):
        self.s = session
        self.renderer = renderer
        self.shots = 0

    # -- looking --------------------------------------------------------------------
    def screenshot(self):
        self.shots += 1
        return self.s.screenshot(os.path.join(self.s.root, f"shot{self.shots}.png"))

    def display_crop(self, shot):
        x, y, _, _ = self.s.geometry(self.s.window)
        out = shot + ".display.png"
        dx, dy, w, h = DISPLAY
        subprocess.run(["convert", shot, "-crop", f"{w}x{h}+{x + dx}+{y + dy}", "+repage", out],
                       check=True)
        return out

    def render(self, text, x_twips, colour, indicator=True):
        out = os.path.join(self.s.root, f"render-{self.shots}.png")
        rgb = ",".join(str(c) for c in colour)
        subprocess.run([self.renderer, text, str(x_twips), rgb, "1" if indicator else "0", out],
                       check=True, env={**self.s.env, "QT_QPA_PLATFORM": "offscreen"})
        return out

    def differing_pixels(self, a, b):
        # Pixels that differ visibly: the X server and the offscreen surface may blend an
        # antialiased edge one or two levels apart, which no eye sees.
        result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "5%", a, b, "null:"],
                                capture_output=True, text=True)
        try:
            return int(float(result.stderr.strip().split()[0]))
        except (ValueError, IndexError):
            return -1

    def display_matches(self, text, colour, indicator=True):
        """The display region on screen equals an offscreen drawing of the text."""
        x_twips = (14 - min(len(text), 14 if text.startswith("-") else 13)) * 243

        expected = self.render(text, x_twips, colour, indicator)

        def same():
            crop = self.display_crop(self.screenshot())
            return self.differing_pixels(crop, expected) == 0
        # Each look takes a screenshot and two image tools: long enough for a few on a busy
        # machine.
        try:
            return wait_for(same, 15, f"the display to show {text}", interval=0.1)
        except TimeoutError:
            return False

    def colour_count(self, colour):
        crop = self.display_crop(self.screenshot())
        hexcolour = "#%02X%02X%02X" % colour
        out = subprocess.run(["convert", crop, "-fill", "black", "+opaque", hexcolour, "-fill",
                              "white", "-opaque", hexcolour, "-format", "%[fx:mean*w*h]",
                              "info:"], capture_output=True, text=True, check=True)
        return int(float(out.stdout.strip() or 0))

    # -- doing ----------------------------------------------------------------------
    def new_window(self, name, timeout=10):
        # The main window carries the program's name too, for the taskbar: a box of that
        # title is the other window, once it is there.
        def find():
            out = self.s.xdotool("search", "--onlyvisible", "--name", f"^{name}$", check=False)
            found = [wid for wid in out.split() if wid != self.s.window]
            return found[-1] if found else None
        return wait_for(find, timeout, f"a window named {name}")

    def window_gone(self, wid, timeout=10):
        def gone():
            out = self.s.xdotool("search", "--onlyvisible", "--pid", str(self.s.program.pid),
                                 check=False)
            return wid not in out.split()
        return wait_for(gone, timeout, "the window to close")

    def dismiss_message(self, title):
        box = self.new_window(title)
        text = self.s.xdotool("getwindowname", box).strip()
        self.s.press_until_gone(box, "Return")
        self.s.activate()
        return text

    def choose(self, item):
        before = set(self.s.windows())
        self.s.click(*OPTIONS_KEY)
        wait_for(lambda: set(self.s.windows()) - before, 10, "the options menu")
        # Mapped is not yet grabbed: give the menu a moment to take the keyboard.
        time.sleep(0.2)
        for _ in range(MENU.index(item) + 1):
            self.s.xdotool("key", "Down")
        self.s.xdotool("key", "Return")
        wait_for(lambda: not (set(self.s.windows()) - before - {self.s.window}), 10,
                 "the menu to close")
        self.s.activate()

    def calculate(self, keys):
        self.s.type_keys(keys)


def first_start(day, s):
    s.start()
    check(not os.path.exists(os.path.join(s.app_dir, "sty.inf")), "no settings before first exit")
    x, y, w, h = s.geometry(s.window)
    check((w, h) == (264, 408), f"the first start is narrow: {w}x{h}")
    check((x, y) == (237, 196), f"the first position is 237,196: {x},{y}")
    check(day.display_matches("0", BLUE), "the display shows a blue 0")


def sums_with_voice(day, s):
    s.hear("keys", lambda: day.calculate("12+3.5"), 1)
    _, heard = s.hear("reading", lambda: day.calculate("="), 1, quiet_ms=800)
    check(day.display_matches("15.5", BLUE), "12+3.5= shows 15.5")
    check(len(heard) == 5 and sound.paced(heard),
          f"the equals clip, then 15.5 read at a reading's steps: {heard}")


def sums_without_voice(day, s):
    day.choose("语音报数")
    capture = os.path.join(s.root, "silent.wav")
    recorder = s.record_sink(capture)
    day.calculate(" 7*6=")
    check(day.display_matches("42", BLUE, indicator=False), "7*6= shows 42 with the voice off")
    time.sleep(0.8)
    recorder.terminate()
    recorder.wait()
    check(sound.sounding_ms(capture) == 0, "no sound with the voice off")
    day.choose("语音报数")


def refusals(day, s):
    day.calculate(" 999999*999999=")
    text = day.dismiss_message("提示")
    check(text == "提示", "the overflow refusal is a notice titled 提示")
    check(day.display_matches("999999", BLUE), "the refused product leaves the display alone")
    day.calculate(" 5/.+")
    day.dismiss_message("提示")
    check(day.display_matches("0.", BLUE), "the refused division leaves the display alone")
    day.calculate(" ")


def record_panel(day, s):
    s.click(*RECORD_TAB)
    wait_for(lambda: s.geometry(s.window)[2] == 528, 10, "the wide window")
    check(True, "the record tab opens the panel (528 px)")
    # Each reading is heard to its end: the keys are locked while it lasts.
    s.hear("panel", lambda: day.calculate("12+3.5="), 1, quiet_ms=800)
    check(day.display_matches("15.5", BLUE), "12+3.5= with the panel open")
    s.hear("product", lambda: day.calculate("2*3="), 1, quiet_ms=800)
    check(day.display_matches("6", BLUE), "2*3= with the panel open")
    s.click(*SAVE_LABEL)
    day.dismiss_message("语音计算器")
    first = os.path.join(s.app_dir, "save", "1.txt")
    check(os.path.exists(first) and read(first) == b"12+3.5=15.5\r\n2*3=6\r\n",
          "the record is saved to save/1.txt, CR LF per line")
    s.click(*CLEAR_LABEL)
    s.hear("quotient", lambda: day.calculate("8/2="), 1, quiet_ms=800)
    s.click(*SAVE_LABEL)
    day.dismiss_message("语音计算器")
    second = os.path.join(s.app_dir, "save", "2.txt")
    check(os.path.exists(second) and read(second) == b"8/2=4\r\n",
          "after clearing, the next save takes save/2.txt")
    check(read(first) == b"12+3.5=15.5\r\n2*3=6\r\n", "the first save is untouched")


def options(day, s):
    day.choose("字体红色")
    check(day.colour_count(MAGENTA) > 20, "the red item repaints the display")
    day.choose("字体青色")
    check(day.colour_count(CYAN) > 20, "the cyan item repaints the display")
    day.choose("保留2位小数")
    s.hear("third", lambda: day.calculate(" 1/3="), 1, quiet_ms=800)
    check(day.display_matches("0.33", CYAN), "keep 2 decimals shows 0.33")
    day.choose("全部保留")
    day.choose("小数点后不读")
    day.choose("读小数点后4位")
    day.choose("键盘输入")
    day.calculate(" 5")
    check(day.display_matches("0.33", CYAN), "with keyboard input off typing changes nothing")
    day.choose("键盘输入")
    day.calculate(" 5")
    check(day.display_matches("5", CYAN), "keyboard input on again")


def dragging(day, s):
    """The background drags the window with any button; a key does not."""
    x, y, _, _ = s.geometry(s.window)
    for button, (dx, dy) in ((1, (40, 30)), (3, (-40, -30))):
        start = s.geometry(s.window)
        s.xdotool("mousemove", "--window", s.window, "130", "110", "mousedown", str(button))
        s.xdotool("mousemove_relative", "--", str(dx), str(dy))
        s.xdotool("mouseup", str(button))
        moved = wait_for(lambda: s.geometry(s.window)[:2] != start[:2] and
                         s.geometry(s.window), 5, "the window to move")
        check((moved[0] - start[0], moved[1] - start[1]) == (dx, dy),
              f"dragging with button {button} moves the window by {dx},{dy}")
    start = s.geometry(s.window)
    s.xdotool("mousemove", "--window", s.window, "40", "150", "mousedown", "1")
    s.xdotool("mousemove_relative", "--", "30", "30")
    s.xdotool("mouseup", "1")
    check(s.geometry(s.window)[:2] == start[:2], "a key does not drag the window")
    check((start[0], start[1]) == (x, y), "the window is back where it was")
    s.type_keys(" ")


def about(day, s):
    s.click(*ABOUT_ICON)
    box = day.new_window("Form2")
    mx, my, _, _ = s.geometry(s.window)
    ax, ay, _, _ = s.geometry(box)
    check((ax, ay) == (mx - 40, my + 120), f"the About window opens at -40,+120: {ax - mx},{ay - my}")
    s.click(150, 20, window=box)
    day.window_gone(box)
    check(True, "a click on its background closes it")
    s.activate()


def exit_and_restart(day, s):
    s.click(*EXIT_KEY)
    code = s.wait_program_end()
    check(code == 0, f"the exit key ends the program (status {code})")
    settings = read(os.path.join(s.app_dir, "sty.inf"))
    check(settings == b"3555,2940,#TRUE#,3,3,3\r\n", f"sty.inf keeps the day's choices: {settings!r}")
    s.start()
    _, _, w, _ = s.geometry(s.window)
    check(w == 528, "the restart opens the record panel again")
    check(day.display_matches("0", CYAN), "the restart shows the cyan display")
    s.program.terminate()
    s.wait_program_end()
    check(read(os.path.join(s.app_dir, "sty.inf")) == settings, "SIGTERM leaves sty.inf alone")
    size_record = s.app_dir + "sty.inf"
    check(os.path.exists(size_record) and read(size_record) == b"7920,6120\r\n",
          "SIGTERM writes the size record beside the application folder")


def main():
    program, renderer = sys.argv[1], sys.argv[2]
    with Session(program, sound=True) as s:
        day = Day(s, renderer)
        try:
            for step in (first_start, sums_with_voice, sums_without_voice, refusals,
                         record_panel, options, dragging, about, exit_and_restart):
                print(f"-- {step.__name__}", flush=True)
                step(day, s)
        except Exception as error:  # a step that cannot go on ends the day
            failures.append(f"{type(error).__name__}: {error}")
            print(f"FAIL {error}", flush=True)
            print(s.program_log(), flush=True)
    if failures:
        print(f"{len(failures)} check(s) failed", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
