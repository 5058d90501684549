#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A seeded random run of the real calculator under its own X server and sound server:
clicks on every key and label, menu items, typed sums with long operands, the About
window, message boxes answered. After every action the window must answer a
_NET_WM_PING within a second, whatever state it is in: reading aloud, keyboard input
off, a box open. At the end memory must not have grown, the close key must end the
program with status 0, and nothing of it may be left running.

A seed replays exactly: the actions and their pauses come from the seed alone. When a
run fails it is shrunk to the shortest action list that still fails, printed so that it
can be run again with --replay.

    monkey.py <program> [--seed N] [--actions N] [--voice on|off|mixed]
              [--replay "ACTION ..."] [--no-shrink] [--shrink-seconds N]
"""

import argparse
import os
import random
import select
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Session, wait_for  # noqa: E402

try:
    from Xlib import X, XK, display as xdisplay, protocol
    from Xlib.ext import xtest
except ImportError:  # the Debian package python3-xlib
    print("python3-xlib is not installed", file=sys.stderr)
    sys.exit(1 if os.environ.get("CI") == "true" else 77)

# Centres of the controls on the main window, in pixels from its top left corner.
KEYS = {
    "1": (40, 150), "2": (88, 150), "3": (136, 150),
    "4": (40, 182), "5": (88, 182), "6": (136, 182),
    "7": (40, 214), "8": (88, 214), "9": (136, 214),
    "0": (40, 246), "pt": (88, 246), "sign": (136, 246),
    "clr": (40, 290), "bs": (88, 290),
    "add": (212, 151), "sub": (212, 186), "mul": (212, 220), "div": (212, 254),
    "eq": (212, 287),
}
OPTIONS_KEY = (135, 290)
EXIT_KEY = (234, 19)
PLACES = {
    "tab": (256, 200), "clear": (294, 383), "view": (350, 383), "save": (419, 383),
    "stop": (494, 383), "about": (24, 24),
}
ABOUT_SIZE = (345, 195)

# Menu items in order, without 退出: the menu is walked with Down from no selection.
MENU = ["语音报数", "开启记录", "键盘输入", "字体蓝色", "字体红色", "字体青色", "保留2位小数",
        "保留4位小数", "全部保留", "读小数点后2位", "读小数点后4位", "小数点后不读", "关于/帮助"]
VOICE_ITEM = 0

# Typed text is stored with letters for the keys that are not printable or not safe in
# an action list: Enter, Backspace, space (clear) and backslash (sign).
TYPED = {"E": "Return", "B": "BackSpace", "C": "space", "S": "backslash", "+": "KP_Add",
         "-": "KP_Subtract", "*": "KP_Multiply", "/": "KP_Divide", ".": "period",
         "=": "equal"}

PING_LIMIT = 1.0
# At the end the program is left alone for a second; a settled window uses next to no
# processor in it, one whose layout never settles uses all it gets.
QUIET = 1.0
BUSY_LIMIT = 0.5
MEMORY_SLACK = 5 * 1024 * 1024
BASELINE_AFTER = 100


class Failure(Exception):
    """A fault found after action `index`; shrinking keeps lists that fail the same `kind`
    of way."""

    def __init__(self, index, kind, what):
        super().__init__(what)
        self.index = index
        self.kind = kind


# -- actions -------------------------------------------------------------------------
def pause_ms(rng):
    return rng.randint(0, 30) if rng.random() < 0.9 else rng.randint(30, 700)


def operand(rng, digits):
    return str(rng.randint(1, 9)) + "".join(rng.choice("0123456789") for _ in range(digits - 1))


def typed_text(rng):
    if rng.random() < 0.3:
        # Long operands make record lines of up to 38 characters.
        op = rng.choice("+-*/")
        return operand(rng, rng.randint(9, 12)) + op + operand(rng, rng.randint(9, 12)) + \
            rng.choice("=E")
    return "".join(rng.choice("0123456789+-*/.=EBCS") for _ in range(rng.randint(1, 6)))


def generate(seed, count, voice):
    """The action list of a seed: "kind[:argument]@pause_ms" tokens."""
    rng = random.Random(seed)
    menu = [i for i in range(len(MENU)) if voice == "mixed" or i != VOICE_ITEM]
    actions = [] if voice != "off" else [f"menu:{VOICE_ITEM}@0"]
    choices = [("key", 40), ("type", 20), ("place", 18), ("menu", 10), ("aboutclick", 4)]
    kinds = [k for k, w in choices for _ in range(w)]
    while len(actions) < count:
        kind = rng.choice(kinds)
        if kind == "key":
            token = f"key:{rng.choice(sorted(KEYS))}"
        elif kind == "type":
            token = f"type:{typed_text(rng)}"
        elif kind == "place":
            token = f"click:{rng.choice(sorted(PLACES))}"
        elif kind == "menu":
            token = f"menu:{rng.choice(menu)}"
        else:
            token = f"aboutclick:{rng.randint(2, ABOUT_SIZE[0] - 3)},{rng.randint(2, 190)}"
        actions.append(f"{token}@{pause_ms(rng)}")
    return actions


# -- the X side ----------------------------------------------------------------------
class Desk:
    """Talks to the X server directly: XTEST input, the program's windows by type, and
    the ping that the toolkit answers from its event loop."""

    def __init__(self, session):
        self.s = session
        self.d = xdisplay.Display(session.display)
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.StructureNotifyMask)
        atom = self.d.intern_atom
        self.protocols = atom("WM_PROTOCOLS")
        self.ping_atom = atom("_NET_WM_PING")
        self.pid_atom = atom("_NET_WM_PID")
        self.type_atom = atom("_NET_WM_WINDOW_TYPE")
        self.types = {atom(f"_NET_WM_WINDOW_TYPE_{t}"): t.lower()
                      for t in ("NORMAL", "DIALOG", "TOOLTIP")}
        self.stamp = 0
        self.main = None

    def attach(self, wid):
        self.main = self.d.create_resource_object("window", int(wid, 0))

    def windows(self, kind=None):
        """The program's mapped top-level windows, as (window, kind) pairs."""
        found = []
        pid = self.s.program.pid
        for w in self.root.query_tree().children:
            try:
                attributes = w.get_attributes()
                if attributes.map_state != X.IsViewable:
                    continue
                prop = w.get_full_property(self.pid_atom, X.AnyPropertyType)
                if not prop or prop.value[0] != pid:
                    continue
                wtype = w.get_full_property(self.type_atom, X.AnyPropertyType)
                # Qt lists a frameless window as an override first, then its real type.
                names = [self.types[v] for v in (wtype.value if wtype else []) if v in self.types]
                name = names[0] if names else "normal"
                if attributes.override_redirect and name != "tooltip":
                    name = "popup"  # the options menu, whatever type it carries
            except Exception:  # a window that went away while we looked
                continue
            if kind is None or name == kind:
                found.append((w, name))
        return found

    def about_window(self):
        for w, _ in self.windows("normal"):
            if w.id != self.main.id and w.get_wm_name() == "Form2":
                return w
        return None

    def origin(self, w):
        g = w.get_geometry()
        t = w.translate_coords(self.root, 0, 0)
        return -t.x, -t.y, g.width, g.height

    def click(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()

    def click_on(self, w, place):
        x, y, _, _ = self.origin(w)
        self.click(x + place[0], y + place[1])

    def focus(self, w):
        w.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()

    def key(self, keysym_name):
        keysym = XK.string_to_keysym(keysym_name)
        codes = list(self.d.keysym_to_keycodes(keysym))
        code, index = codes[0]
        shift = self.d.keysym_to_keycode(XK.XK_Shift_L) if index % 2 else None
        if shift:
            xtest.fake_input(self.d, X.KeyPress, shift)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        if shift:
            xtest.fake_input(self.d, X.KeyRelease, shift)
        self.d.sync()

    def ping(self, limit=PING_LIMIT):
        """Seconds the main window took to answer a _NET_WM_PING, or None."""
        self.stamp += 1
        stamp = self.stamp
        event = protocol.event.ClientMessage(
            window=self.main, client_type=self.protocols,
            data=(32, [self.ping_atom, stamp, self.main.id, 0, 0]))
        started = time.monotonic()
        self.main.send_event(event, event_mask=0)
        self.d.flush()
        while True:
            while self.d.pending_events():
                e = self.d.next_event()
                if (e.type == X.ClientMessage and e.client_type == self.protocols
                        and e.data[1][0] == self.ping_atom and e.data[1][1] == stamp):
                    return time.monotonic() - started
            left = started + limit - time.monotonic()
            if left <= 0:
                return None
            select.select([self.d.fileno()], [], [], left)


# -- one run -------------------------------------------------------------------------
def rss(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) * 1024
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def running_copies(path):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.readlink(f"/proc/{entry}/exe") == path:
                    found.append(int(entry))
            except OSError:
                pass
    return found


class Run:
    # AddressSanitizer's quarantine of freed blocks and its store of allocation stacks
    # grow with every allocation, by megabytes over a run; without them the resident size
    # follows the program's own heap. Bounds and lifetime-of-scope checks stay on.
    ENV = {"ASAN_OPTIONS": "detect_leaks=0:quarantine_size_mb=0:"
                           "thread_local_quarantine_size_kb=0:malloc_context_size=0"}

    def __init__(self, program, actions, verbose=False):
        self.program = program
        self.actions = actions
        self.verbose = verbose
        self.index = 0
        self.baseline = None
        self.memory = []  # resident size after every hundred actions
        self.slowest = 0.0

    def execute(self):
        """Runs the actions on a fresh program; raises Failure on the first fault."""
        with Session(self.program, sound=True) as s:
            self.s = s
            try:
                s.start(extra_env=self.ENV)
                self.desk = Desk(s)
                self.desk.attach(s.window)
                for index, action in enumerate(self.actions):
                    self.step(index, action)
                self.finish()
            except Failure:
                raise
            except Exception as error:
                raise Failure(self.index, "error", f"{type(error).__name__}: {error}")
            finally:
                self.log = s.program_log()
                if "desk" in self.__dict__:
                    self.desk.d.close()

    def step(self, index, action):
        self.index = index
        token, _, pause = action.partition("@")
        kind, _, arg = token.partition(":")
        if self.verbose:
            print(f"{index:5} {action}", flush=True)
        self.answer_boxes()
        getattr(self, f"do_{kind}")(arg)
        time.sleep(int(pause or 0) / 1000)
        self.probe(f"after {action}")
        if (index + 1) % BASELINE_AFTER == 0:
            self.answer_boxes()
            self.memory.append(rss(self.s.program.pid))
            if self.baseline is None:
                self.baseline = self.memory[0]

    def probe(self, when):
        if self.s.program.poll() is not None:
            raise Failure(self.index, "ended", f"the program ended with {self.s.program.returncode} {when}")
        took = self.desk.ping()
        if took is None:
            raise Failure(self.index, "stuck", f"no answer to a ping within {PING_LIMIT} s {when}")
        self.slowest = max(self.slowest, took)

    def answer_boxes(self):
        for _ in range(10):
            boxes = self.desk.windows("dialog")
            if not boxes:
                return
            box = boxes[0][0]
            self.probe(f"with the box {box.get_wm_name()!r} open")
            self.desk.focus(box)
            self.desk.key("Return")
            try:
                wait_for(lambda: box.id not in [w.id for w, _ in self.desk.windows("dialog")],
                         1.5, "the box to close")
            except TimeoutError:
                continue
        raise Failure(self.index, "box", "a message box does not close")

    # Each action works on the state it finds, so a replay repeats it exactly.
    def do_key(self, name):
        self.desk.click_on(self.desk.main, KEYS[name])

    def do_type(self, text):
        self.desk.focus(self.desk.main)
        for ch in text:
            self.desk.key(TYPED.get(ch, ch))
            time.sleep(0.005)

    def do_click(self, place):
        self.desk.click_on(self.desk.main, PLACES[place])

    def do_aboutclick(self, arg):
        about = self.desk.about_window()
        if about is not None:
            x, y = (int(v) for v in arg.split(","))
            self.desk.click_on(about, (x, y))

    def do_menu(self, arg):
        before = {w.id for w, _ in self.desk.windows()}
        self.desk.click_on(self.desk.main, OPTIONS_KEY)
        try:
            menu = wait_for(lambda: [w for w, kind in self.desk.windows("popup")
                                     if w.id not in before], 1.0, "the options menu")[0]
        except TimeoutError:
            return  # the click landed on the About window, which covers the key
        self.desk.focus(self.desk.main)
        for _ in range(int(arg) + 1):
            self.desk.key("Down")
        self.desk.key("Return")
        wait_for(lambda: menu.id not in [w.id for w, _ in self.desk.windows()], 5,
                 "the menu to close")

    def finish(self):
        self.index = len(self.actions)
        self.answer_boxes()
        pid = self.s.program.pid
        before = cpu_seconds(pid)
        time.sleep(QUIET)
        busy = cpu_seconds(pid) - before
        self.probe("at the end")
        if busy > BUSY_LIMIT:
            raise Failure(self.index, "stuck", f"busy for {busy:.2f} s of a quiet {QUIET:.0f} s at the end")
        if self.baseline is not None:
            grown = rss(self.s.program.pid) - self.baseline
            if grown > MEMORY_SLACK:
                raise Failure(self.index, "memory", f"memory grew by {grown / 2**20:.1f} MB "
                              f"after action {BASELINE_AFTER}")
        self.desk.click_on(self.desk.main, EXIT_KEY)
        try:
            code = self.s.program.wait(10)
        except Exception:
            raise Failure(self.index, "close", "the close key did not end the program within 10 s")
        if code != 0:
            raise Failure(self.index, "close", f"the close key ended the program with status {code}")
        left = running_copies(self.s.program_path)
        if left:
            raise Failure(self.index, "left", f"still running after the close key: {left}")


def attempt(program, actions, verbose=False):
    """None when the actions pass, otherwise the Failure."""
    run = Run(program, actions, verbose)
    try:
        run.execute()
    except Failure as failure:
        return failure
    return None


def shrink(program, actions, failure, seconds):
    """The shortest list it can find in the time given that still fails the same way:
    first the prefix up to the failing action, then chunks taken out while the failure
    stays (delta debugging). Every try starts a fresh program."""
    best = actions[:failure.index + 1]
    deadline = time.monotonic() + seconds
    chunk = max(1, len(best) // 2)
    while chunk and time.monotonic() < deadline:
        start, removed = 0, False
        while start < len(best) and time.monotonic() < deadline:
            candidate = best[:start] + best[start + chunk:]
            result = attempt(program, candidate) if candidate else None
            if result is not None and result.kind == failure.kind:
                best, removed = candidate[:result.index + 1], True
                print(f"   {len(best)} actions still fail", flush=True)
            else:
                start += chunk
        chunk = min(chunk if removed else chunk // 2, len(best) // 2 or 1)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--actions", type=int, default=1500)
    parser.add_argument("--voice", choices=("on", "off", "mixed"), default="mixed")
    parser.add_argument("--replay", help="a space-separated action list to run as it is")
    parser.add_argument("--no-shrink", action="store_true")
    parser.add_argument("--shrink-seconds", type=int, default=300)
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()

    actions = args.replay.split() if args.replay else generate(args.seed, args.actions,
                                                                args.voice)
    label = "replay" if args.replay else f"seed {args.seed}, voice {args.voice}"
    started = time.monotonic()
    run = Run(args.program, actions, args.verbose)
    failure = None
    try:
        run.execute()
    except Failure as error:
        failure = error
    elapsed = time.monotonic() - started
    print("resident MB per 100 actions:", " ".join(f"{m / 2**20:.0f}" for m in run.memory))
    if failure is None:
        print(f"ok   {label}: {len(actions)} actions in {elapsed:.0f} s, slowest ping "
              f"{run.slowest * 1000:.0f} ms", flush=True)
        return 0
    print(f"FAIL {label}: action {failure.index} of {len(actions)}: {failure}", flush=True)
    print("program output:\n" + run.__dict__.get("log", "")[-4000:], flush=True)
    if not args.no_shrink:
        shortest = shrink(args.program, actions, failure, args.shrink_seconds)
        if args.replay or len(shortest) < failure.index + 1:
            print(f"shortest failing list ({len(shortest)} actions):", flush=True)
            print(f"  --replay \"{' '.join(shortest)}\"", flush=True)
        else:  # a race that shorter lists did not hit again in the time given
            print(f"no shorter list failed; replay with --seed {args.seed} --voice {args.voice} "
                  f"--actions {len(shortest)}", flush=True)
    return 1


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
