#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the user's choices go and where the window opens: a position saved on a wider
screen, sty.inf kept elsewhere through a link, and an exit whose write fails (a read-only
application folder, a dangling link), which must say so and keep the old file whole.

    kept_choices.py <program>
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xclient  # noqa: E402
from harness import Checks, Session, in_ci, wait_for  # noqa: E402

EXIT_KEY = (234, 19)
NARROW = 264
OLD = b"1815,1260,#FALSE#,2,1,3\r\n"

check = Checks()


def settings_path(s):
    return os.path.join(s.app_dir, "sty.inf")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def exit_by_key(s):
    s.click(*EXIT_KEY)
    return s.wait_program_end()


def failure_box(s):
    """The box the exit shows: titled like the main window, but not the main window."""
    return wait_for(lambda: [w for w in s.xdotool("search", "--onlyvisible", "--name",
                                                  "^语音计算器$", check=False).split()
                             if w != s.window], 10, "the failure box")[-1]


def positions(s):
    """Far off to the right the window comes onto the screen whole; partly off, with a
    corner left to grab, it stays; sty.inf is rewritten only by the exit."""
    screen = 1280
    far = b"45000,2940,#FALSE#,1,2,1\r\n"
    write(settings_path(s), far)
    s.start()
    x, y, width, _ = s.geometry(s.window)
    check(0 <= x and x + width <= screen and y == 196,
          f"a window saved at 3000 px opens on the screen: {x},{y}")
    check(read(settings_path(s)) == far, "sty.inf is left alone until the exit")
    check(exit_by_key(s) == 0, "the exit key ends the program")
    check(read(settings_path(s)).startswith(f"{(screen - NARROW) * 15},2940,".encode()),
          f"the exit writes where the window was: {read(settings_path(s))}")

    write(settings_path(s), b"-2400,2940,#FALSE#,1,2,1\r\n")
    s.start()
    check(s.geometry(s.window)[0] == -160, f"a window 104 px on the screen stays where it was: "
          f"{s.geometry(s.window)}")
    exit_by_key(s)


def linked(s):
    """sty.inf a link to a file kept elsewhere: the choices are read from and written to
    the target, and the link stays a link."""
    kept = os.path.join(s.root, "kept")
    os.makedirs(kept)
    target = os.path.join(kept, "choices.inf")
    # A field beyond the sixth is read past and not written back.
    write(target, OLD.replace(b"\r\n", b",kept elsewhere\r\n"))
    os.remove(settings_path(s))
    os.symlink("../kept/choices.inf", settings_path(s))
    s.start()
    check(exit_by_key(s) == 0, "the exit key ends the program")
    check(os.path.islink(settings_path(s)), "sty.inf is still a link")
    check(read(target) == OLD, f"the exit rewrote the target: {read(target)}")
    check(os.listdir(kept) == ["choices.inf"], "nothing is left beside the target")
    os.remove(settings_path(s))


def read_only_folder(s):
    """The application folder mounted read-only (root ignores permission bits, not that):
    the exit shows why the choices were not kept, prints it too, and ends once the box is
    closed; the old sty.inf stays whole."""
    write(settings_path(s), OLD)
    probe = ["unshare", "--mount", "--propagation", "private", "true"]
    if shutil.which("unshare") is None or subprocess.run(probe).returncode != 0:
        if in_ci():
            check(False, "a private mount namespace can be made")
        else:
            print("skip: no private mount namespace here", flush=True)
        return
    # The mount lives only in the program's own mount namespace; unshare and sh exec, so
    # the PID is the program's.
    script = ('mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && shift && '
              'exec "$@"')
    program = s.program_path
    s.program_path = "unshare"
    try:
        s.start(args=("--mount", "--propagation", "private", "--", "sh", "-c", script, "sh",
                      s.app_dir, program))
    finally:
        s.program_path = program
    s.click(*EXIT_KEY)
    box = failure_box(s)
    line = f"选项保存失败：{settings_path(s)}（文件系统只读）"
    check(line in s.program_log(), f"stderr says why: {s.program_log()[-300:]!r}")
    time.sleep(0.5)
    check(s.program.poll() is None, "the program waits for the box")
    s.press_until_gone(box, "Return")
    check(s.wait_program_end() == 0, "closing the box ends the program")
    check(read(settings_path(s)) == OLD, "the old sty.inf is whole")


def dangling_link(s):
    """A link that leads nowhere gets the same box, and a close by the desktop while it is
    open ends the program at once, writing nothing."""
    os.remove(settings_path(s))
    os.symlink("gone/choices.inf", settings_path(s))
    s.start()
    s.click(*EXIT_KEY)
    failure_box(s)
    check(f"选项保存失败：{settings_path(s)}（链接的目标不存在）" in s.program_log(),
          "the dangling link is named")
    xclient.ask_to_close(s.env["DISPLAY"], s.window)
    check(s.wait_program_end(timeout=5) == 0, "a desktop close ends the program at once")
    check(os.path.islink(settings_path(s)) and not os.path.exists(s.app_dir + "sty.inf"),
          "the link stays and no size record is written")


def main():
    try:
        with Session(sys.argv[1], sound=False) as s:
            for step in (positions, linked, read_only_folder, dangling_link):
                print(f"-- {step.__name__}", flush=True)
                step(s)
    except Exception as error:  # a step that cannot go on is one failure
        check.broke(error)
    return check.exit_status()


if __name__ == "__main__":
    sys.exit(main())
