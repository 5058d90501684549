#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Types keys at the calculator as a screen reader user does and reads what Orca said.

Each step types its keys through the X server (so Orca hears them as a user's) and waits until
Orca's debug log holds, after the step began, an utterance exactly as expected. The steps run
in order; a step's utterance must come after the previous step's.

Usage: orca_steps.py ORCA_DEBUG_LOG PID
Prints one line per step; exits 1 on the first step whose utterance never came.
"""

import re
import subprocess
import sys
import time

HELP_LINE_3 = "键盘输入时，等号可用Enter输入，清空是空格键。"

# (what the step is, keys for xdotool, the utterance that must follow; None: only that some
# utterance mentions the text in "contains").
SETUP = [
    ("the window opens", [], {"contains": "语音计算器"}),
    # The first menu item is the program's voice; Return switches it off. The voice is still
    # on when the menu gives the focus back, so the display is not announced then.
    ("the options menu opens", ["Menu"], {"contains": "语音报数"}),
    ("the voice goes off", ["Return"], {"contains": "语音计算器"}),
]
STEPS = [
    ("12+3 and Enter", ["1", "2", "plus", "3", "Return"], {"exact": "15"}),
    ("F5", ["F5"], {"exact": "15"}),
    ("F6 reads the calculation", ["F6"], {"exact": "12加3等于15"}),
    ("F1 opens About", ["F1"], {"contains": HELP_LINE_3}),
    ("Escape closes About", ["Escape"], {"exact": "15"}),
]

# The voice follows the closing quote, after a space or at once: "SPEECH OUTPUT: '15'{...}".
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?=\s|\{|$)", re.MULTILINE)


def utterances(log, offset):
    with open(log, encoding="utf-8", errors="replace") as f:
        f.seek(offset)
        text = f.read()
    return [(offset + m.start(), m.group(1)) for m in UTTERANCE.finditer(text)]


def log_size(log):
    with open(log, "rb") as f:
        return f.seek(0, 2)


def heard(log, since, expect):
    for position, said in utterances(log, since):
        if "exact" in expect and said.strip() == expect["exact"]:
            return position
        if "contains" in expect and expect["contains"] in said:
            return position
    return None


def run(log, steps, since):
    for what, keys, expect in steps:
        start = log_size(log)
        if keys:
            subprocess.run(["xdotool", "key", "--delay", "120", *keys], check=True)
        else:
            start = since
        deadline = time.monotonic() + 30
        found = heard(log, start, expect)
        while found is None and time.monotonic() < deadline:
            time.sleep(0.1)
            found = heard(log, start, expect)
        if found is None:
            said = [s for _, s in utterances(log, start)]
            print(f"FAIL: {what}: Orca never said {expect} (said: {said})", file=sys.stderr)
            return False
        print(f"ok: {what}: Orca said {expect}", flush=True)
        since = found
    return True


def main():
    log = sys.argv[1]
    ok = run(log, SETUP + STEPS, 0)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
