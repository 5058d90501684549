#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program when others get in its way: a clipboard holder that is frozen or hands
its text over in pieces, a folder another user made first in a shared temporary folder,
and the one-copy guard's lock held by another process. The window keeps answering, the
voice keeps speaking, one program runs per folder and a launch is never held for long.

    interference.py <program>

The planted folder needs a second user, and so root: without root that step is skipped
(exit 77) and under CI=true it fails.
"""

import fcntl
import glob
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sound  # noqa: E402
import xclient  # noqa: E402
from harness import SKIP, Checks, Session, in_ci, wait_for  # noqa: E402

check = Checks()
NOBODY = 65534
# The built-in fallback is a 125 ms tone; every clip speaks for longer than 200 ms.
FALLBACK_MS = 200
GUARD_OFF = "running without the one-copy guard"


def hold_clipboard(s, data):
    """Starts xclip serving `data` as the clipboard and returns it once it does."""
    owner = subprocess.Popen(["xclip", "-i", "-selection", "clipboard", "-quiet"], env=s.env,
                             stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    s.processes.append(owner)
    owner.stdin.write(data)
    owner.stdin.close()
    wait_for(lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"],
                                    env=s.env, capture_output=True, timeout=10).returncode == 0,
             10, "xclip to hold the clipboard")
    return owner


def stop(owner):
    owner.kill()
    owner.wait()


def paste_with_pings(s, pinger, what):
    """Ctrl+V, then the window is pinged until well past the give-up time; returns the
    slowest answer (None if one never came) and the onsets heard."""
    slowest = [0.0]

    def paste():
        s.xdotool("key", "ctrl+v")
        until = time.monotonic() + 1.6
        while time.monotonic() < until:
            answer = pinger.ping(timeout=2)
            slowest[0] = None if answer is None or slowest[0] is None else max(slowest[0],
                                                                              answer)
            time.sleep(0.05)

    capture, heard = s.hear(what, paste, 1)
    return slowest[0], capture, heard


def clipboard_holders(s):
    s.start()
    pinger = xclient.Pinger(s.env["DISPLAY"], s.window)
    try:
        frozen = hold_clipboard(s, b"42")
        os.kill(frozen.pid, signal.SIGSTOP)
        slowest, capture, heard = paste_with_pings(s, pinger, "frozen-owner")
        check(slowest is not None and slowest < 0.1,
              f"the window answers pings while the holder is frozen (slowest {slowest})")
        check(len(heard) == 1 and 700 <= heard[0] <= 1800 and
              sound.sounding_ms(capture) < FALLBACK_MS,
              f"the paste gives up after about a second with the fallback once ({heard})")
        # Thawed, it answers a request long given up.
        os.kill(frozen.pid, signal.SIGCONT)
        time.sleep(0.3)
        stop(frozen)

        # Thawed after another key, the holder's answer is dropped: entered, 42 would be
        # the number after the plus.
        late = hold_clipboard(s, b"42")
        os.kill(late.pid, signal.SIGSTOP)
        s.hear("clear-before-late", lambda: s.type_keys(" "), 1)
        s.xdotool("key", "ctrl+v", "plus")
        os.kill(late.pid, signal.SIGCONT)
        time.sleep(0.5)
        stop(late)
        s.xdotool("key", "ctrl+c")
        copied = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=s.env,
                                capture_output=True, text=True, timeout=10).stdout
        check(copied == "0", f"an answer after another key is dropped (copied {copied!r})")

        # Far more than fits one transfer: xclip offers it in pieces.
        pieces = hold_clipboard(s, b"1" * (24 << 20))
        slowest, capture, heard = paste_with_pings(s, pinger, "in-pieces")
        check(slowest is not None and slowest < 0.1,
              f"the window answers pings while a holder offers pieces (slowest {slowest})")
        check(len(heard) == 1 and heard[0] < 700 and sound.sounding_ms(capture) < FALLBACK_MS,
              f"a transfer in pieces is refused at once with the fallback ({heard})")
        stop(pieces)

        live = hold_clipboard(s, b"42")
        s.hear("clear", lambda: s.type_keys(" "), 1)
        _, heard = s.hear("live-owner", lambda: s.xdotool("key", "ctrl+v"), 2, quiet_ms=800)
        s.xdotool("key", "ctrl+c")
        copied = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=s.env,
                                capture_output=True, text=True, timeout=10).stdout
        check(len(heard) == 2 and copied == "42",
              f"a later paste from a live holder enters 42 ({heard}, copied {copied!r})")
        stop(live)
    finally:
        pinger.close()
    s.program.terminate()
    check(s.wait_program_end() == 0, "the program ends cleanly")


def planted_folder(s):
    """Another user made the fixed name in the shared temporary folder first, and a killed
    run of this user's left its own folder two days ago."""
    shared = os.path.join(s.root, "shared")
    os.makedirs(shared)
    os.chmod(shared, 0o1777)
    os.chmod(s.root, 0o711)
    uid = os.geteuid()
    planted = os.path.join(shared, f"yuyin-jisuanqi-{uid}")
    subprocess.run(["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups",
                    "mkdir", "-m", "0777", planted], check=True)
    left = os.path.join(shared, f"yuyin-jisuanqi-{uid}-Ab12Cd")
    recent = os.path.join(shared, f"yuyin-jisuanqi-{uid}-Ef34Gh")
    for folder in (left, recent):
        os.makedirs(folder, mode=0o700)
        with open(os.path.join(folder, "105.wav"), "wb") as f:
            f.write(b"RIFF")
    two_days_ago = time.time() - 2 * 86400
    os.utime(left, (two_days_ago, two_days_ago))

    env = {"XDG_RUNTIME_DIR": "", "TMPDIR": shared}
    log_before = len(s.program_log())
    s.start(extra_env=env)
    first = s.program
    # The clips are written once the window has first been drawn.
    wait_for(lambda: [f for f in glob.glob(os.path.join(shared, "*", "105.wav"))
                      if os.path.dirname(f) not in (left, recent)], 10, "the clips")
    # The first key opens the sound stream, which may stutter on a busy machine.
    s.hear("planted-first", lambda: s.type_keys("1"), 1)
    capture, heard = s.hear("planted", lambda: s.type_keys("5"), 1)
    check(heard and sound.sounding_ms(capture) > FALLBACK_MS,
          f"the key speaks its clip despite the planted folder ({heard})")
    second = subprocess.Popen([s.program_path], env={**s.env, **env}, cwd=s.root,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.processes.append(second)
    try:
        code = second.wait(15)
    except subprocess.TimeoutExpired:
        code = None
    check(code == 0 and first.poll() is None,
          f"a second launch hands over to the first and ends ({code})")
    check(GUARD_OFF not in s.program_log()[log_before:], "the guard is on")
    check(os.stat(planted).st_uid == NOBODY and os.listdir(planted) == [],
          "the other user's folder is left as it was, empty")
    check(not os.path.exists(left) and os.path.exists(recent),
          "a folder a killed run left two days ago is removed, a recent one kept")
    first.terminate()
    check(s.wait_program_end() == 0, "the program ends cleanly")
    ours = sorted(glob.glob(os.path.join(shared, f"yuyin-jisuanqi-{uid}-*")))
    check(ours == [recent], f"the run removed its own folder at its end ({ours})")


def held_lock(s):
    """Another process of the user's holds the guard's lock file."""
    locks = glob.glob(os.path.join(s.home, ".cache", "yuyin-jisuanqi", "instance-*.lock"))
    check(len(locks) == 1, f"the guard's lock is in the user's cache folder ({locks})")
    holder = open(locks[0], "rb")
    fcntl.flock(holder, fcntl.LOCK_EX)
    try:
        started = time.monotonic()
        s.start()
        waited = time.monotonic() - started
        wait_for(lambda: GUARD_OFF in s.program_log(), 5, "the line about the guard")
        check(True, f"the launch goes on without the guard, and says so ({waited:.1f} s)")
        s.program.terminate()
        s.wait_program_end()

        before = sorted(os.listdir(s.app_dir))
        log = open(os.path.join(s.root, "sigterm.log"), "wb")
        waiting = subprocess.Popen([s.program_path], env=s.env, cwd=s.root, stdout=log,
                                   stderr=log)
        s.processes.append(waiting)

        def has_lock_open():
            try:
                fds = os.listdir(f"/proc/{waiting.pid}/fd")
                return any(os.readlink(f"/proc/{waiting.pid}/fd/{fd}") == locks[0]
                           for fd in fds)
            except OSError:
                return False
        wait_for(has_lock_open, 10, "the launch to wait on the lock", interval=0.005)
        waiting.send_signal(signal.SIGTERM)
        try:
            code = waiting.wait(2)
        except subprocess.TimeoutExpired:
            code = None
        log.close()
        check(code == 128 + signal.SIGTERM,
              f"SIGTERM during the wait ends the launch at once with 143 ({code})")
        with open(os.path.join(s.root, "sigterm.log"), "rb") as f:
            check(f.read() == b"", "and it wrote nothing")
        check(sorted(os.listdir(s.app_dir)) == before, "nor anything in its folder")
    finally:
        holder.close()


def main():
    program = sys.argv[1]
    skipped = False
    try:
        with Session(program, sound=True) as s:
            for step in (clipboard_holders, held_lock):
                print(f"-- {step.__name__}", flush=True)
                step(s)
            print("-- planted_folder", flush=True)
            if os.geteuid() == 0:
                planted_folder(s)
            elif in_ci():
                check(False, "the planted folder needs root")
            else:
                print("skip: the planted folder needs root", flush=True)
                skipped = True
    except Exception as error:
        check.broke(error)
    status = check.exit_status()
    return SKIP if status == 0 and skipped else status


if __name__ == "__main__":
    sys.exit(main())
