#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program when things go wrong around it: clip files or their folder removed,
a file where the save folder should be, a write limit on sty.inf, and a sound server that
is absent, killed, restarted, stalled or frozen in the middle of a reading, or left idle.
All of these fail for root too.

    faults.py <program> <render_display tool>
"""

import os
import resource
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sound  # noqa: E402
import xclient  # noqa: E402
from harness import Session, wait_for  # noqa: E402
from user_day import BLUE, Day  # noqa: E402

CLIPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "clips")
RECORD_TAB = (256, 200)
SAVE_LABEL = (419, 383)
EXIT_KEY = (234, 19)

failures = []


def check(condition, what):
    print(f"{'ok  ' if condition else 'FAIL'} {what}", flush=True)
    if not condition:
        failures.append(what)


def clip_folder(s):
    return os.path.join(s.runtime, "yuyin-jisuanqi")


def removed_clips(s):
    """A clip file, then the whole clip folder, removed while the program runs: the keys
    sound the built-in fallback and no message appears."""
    s.start()
    # The clips are written once the window has first been drawn.
    clip = os.path.join(clip_folder(s), "105.wav")
    wait_for(lambda: os.path.exists(clip), 10, "the clips to be written")
    os.remove(clip)
    windows_before = set(s.windows())
    heard = [s.hear("missing-file", lambda: s.type_keys("5"), 1)]
    shutil.rmtree(clip_folder(s))
    heard.append(s.hear("missing-folder", lambda: s.type_keys("7"), 1))
    # The clips of 5 and 7 speak for about 300 ms; the built-in fallback is a 120 ms beep.
    check(all(len(clips) == 1 and sound.sounding_ms(capture) < 200 for capture, clips in heard),
          "the fallback sounds, short, for a missing clip and for a missing folder")
    check(set(s.windows()) == windows_before, "no message about missing clips")
    check(s.program.poll() is None, "the program keeps running")
    s.program.terminate()
    s.wait_program_end()


def save_folder_is_a_file(s):
    """A plain file where the save folder should be: the save fails with a message that
    says so ("保存失败…", never "记录已保存到"), and nothing is written."""
    with open(os.path.join(s.app_dir, "save"), "w") as f:
        f.write("not a folder")
    s.start()
    s.click(*RECORD_TAB)
    wait_for(lambda: s.geometry(s.window)[2] == 528, 10, "the wide window")
    s.type_keys("2+2=")
    time.sleep(1.0)
    s.click(*SAVE_LABEL)
    # The main window carries the same title, for the taskbar; the box is the other one.
    box = wait_for(lambda: [w for w in s.xdotool("search", "--onlyvisible", "--name",
                                                 "^语音计算器$", check=False).split()
                            if w != s.window], 10, "the failure message")[-1]
    s.press_until_gone(box, "Return")
    check(os.path.isfile(os.path.join(s.app_dir, "save")), "the file in the way is untouched")
    check(s.program.poll() is None, "the program keeps running after the failed save")
    s.activate()
    s.program.terminate()
    s.wait_program_end()
    os.remove(os.path.join(s.app_dir, "save"))


def settings_write_limit(s):
    """sty.inf cannot be written (a 10-byte file size limit, SIGXFSZ ignored): the exit
    key shows why, ends the program once the box is closed, and the old file stays whole."""
    settings = os.path.join(s.app_dir, "sty.inf")
    with open(settings, "wb") as f:
        f.write(b"1815,1260,#FALSE#,2,1,3\r\n")

    def limited():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (10, 10))

    env = dict(s.env)
    log = open(os.path.join(s.root, "limited.log"), "wb")
    # Standard error into a pipe, which the size limit does not cut short as it would a file.
    s.program = subprocess.Popen([s.program_path], env=env, cwd=s.root, stdout=log,
                                 stderr=subprocess.PIPE, preexec_fn=limited)
    s.processes.append(s.program)
    s.window = wait_for(s._main_window, 30, "the main window")
    s.activate()
    s.click(*EXIT_KEY)
    box = wait_for(lambda: [w for w in s.xdotool("search", "--onlyvisible", "--name",
                                                 "^语音计算器$", check=False).split()
                            if w != s.window], 10, "the failure box")[-1]
    s.press_until_gone(box, "Return")
    code = s.wait_program_end()
    check(code == 0, f"closing the failure box ends the program ({code})")
    check("（文件超出允许的大小）" in s.program.stderr.read().decode(errors="replace"),
          "standard error says why sty.inf was not written")
    with open(settings, "rb") as f:
        check(f.read() == b"1815,1260,#FALSE#,2,1,3\r\n", "the old sty.inf is intact")
    leftovers = [n for n in os.listdir(s.app_dir) if n.startswith(".sty.inf")]
    check(not leftovers, f"no temporary file is left behind: {leftovers}")
    os.remove(settings)


def sound_server_frozen_mid_reading(s, day):
    """The sound server stops answering in the middle of a reading: the window stays
    responsive and the key lock ends on time, because the reading keeps its own time."""
    s.start()
    s.type_keys("123*3")
    time.sleep(0.3)
    s.type_keys("=")
    time.sleep(0.5)
    os.kill(s.pulse.pid, signal.SIGSTOP)
    try:
        started = time.monotonic()
        # "369": three clips at 450 ms steps, so the keys are free again 1.35 s after "=".
        time.sleep(1.2)
        s.type_keys(" 8")
        check(day.display_matches("8", BLUE), "keys work again when the reading's time is up")
        check(time.monotonic() - started < 4, "the window answered while the server is frozen")
        settings = os.path.join(s.app_dir, "sty.inf")
        exit_clicked = time.monotonic()
        s.click(*EXIT_KEY)
        code = s.wait_program_end(timeout=10)
        elapsed = time.monotonic() - exit_clicked
        check(code == 0, f"the exit key ends the program with the server frozen ({code})")
        check(elapsed < 2, f"ending did not wait on the frozen server ({elapsed:.2f} s)")
        check(os.path.exists(settings), "sty.inf was written at exit")
        if os.path.exists(settings):
            os.remove(settings)
    finally:
        os.kill(s.pulse.pid, signal.SIGCONT)


def reading_through_a_stall(s, day):
    """The sound server stalls for 600 ms in the middle of a reading: every character is
    still heard, late rather than never, each for at least 300 ms or to its end."""
    s.start()
    s.type_keys("123*3")
    time.sleep(0.6)
    def stalled_reading():
        s.type_keys("=")
        time.sleep(0.5)
        os.kill(s.pulse.pid, signal.SIGSTOP)
        time.sleep(0.6)
        os.kill(s.pulse.pid, signal.SIGCONT)

    capture, _ = s.hear("stall", stalled_reading, 1, quiet_ms=1000)
    # "369" after the equals clip; all but the last may be cut after 300 ms.
    clips = [sound.sounding_ms(os.path.join(CLIPS, f"{n}.wav")) for n in (116, 103, 106, 109)]
    least = sum(min(ms, 300) for ms in clips[:-1]) + clips[-1]
    heard = sound.sounding_ms(capture)
    check(heard > least - 150, f"no character was dropped: {heard} ms heard, {least} ms due")
    s.program.terminate()
    s.wait_program_end()


def key_after_idle(s, day):
    """Quiet for longer than the stream's idle time: the stream is corked at the server,
    and the next key is still heard whole."""
    s.start()
    s.type_keys("1")

    def corked():
        return "Corked: yes" in subprocess.run(["pactl", "list", "sink-inputs"], env=s.env,
                                               capture_output=True, text=True).stdout
    try:
        wait_for(corked, 20, "the idle stream to be corked", interval=0.5)
    except TimeoutError:
        pass
    check(corked(), "the idle stream is corked")
    capture, heard = s.hear("idle", lambda: s.type_keys("2"), 1)
    check(len(heard) == 1 and sound.sounding_ms(capture) > 200,
          f"the key after the idle time is heard: {heard}")
    s.program.terminate()
    s.wait_program_end()


def sound_server_restarted(s, day):
    """The sound server is restarted while the program runs: the keys find it again and
    are heard within about a second."""
    s.start()
    s.type_keys("1")
    time.sleep(0.5)
    s.pulse.kill()
    s.pulse.wait()
    s.type_keys("2")
    s._start_pulseaudio()
    capture = os.path.join(s.root, "restarted.wav")
    recorder = s.record_sink(capture)
    for key in "34567":
        s.type_keys(key)
        time.sleep(0.4)
    time.sleep(0.4)
    recorder.terminate()
    recorder.wait()
    heard = sound.bursts(capture)
    print("bursts (start, ms):", heard, flush=True)
    check(len(heard) >= 4 and heard[0][0] < 1300,
          f"the voice is back within about a second of the server: {heard}")
    s.program.terminate()
    check(s.wait_program_end() == 0, "and the program ends cleanly")


def sound_server_killed(s, day):
    """The sound server goes away for good: keys still work and nothing crashes."""
    s.start()
    s.type_keys("1+")
    s.pulse.kill()
    s.pulse.wait()
    s.type_keys("2=")
    time.sleep(1.5)
    s.type_keys(" 9")
    check(day.display_matches("9", BLUE), "the keys work after the server was killed")
    s.program.terminate()
    check(s.wait_program_end() == 0, "and ends cleanly on SIGTERM")


def desktop_close_with_a_box_open(s):
    """The desktop closes the window while a notice is open: the notice goes, the program
    ends, the size record is written and sty.inf is left as it was."""
    settings = os.path.join(s.app_dir, "sty.inf")
    size_record = s.app_dir + "sty.inf"
    with open(settings, "wb") as f:
        f.write(b"0,0,#FALSE#,2,1,3\r\n")
    s.start()
    s.type_keys("5/.+")
    wait_for(lambda: s.xdotool("search", "--onlyvisible", "--name", "^提示$",
                               check=False).split(), 10, "the division notice")
    xclient.ask_to_close(s.env["DISPLAY"], s.window)
    try:
        code = s.wait_program_end(timeout=10)
    except TimeoutError:
        code = None
    check(code == 0, f"the close goes on and the program ends ({code})")
    with open(settings, "rb") as f:
        check(f.read() == b"0,0,#FALSE#,2,1,3\r\n", "sty.inf is untouched")
    check(os.path.exists(size_record), "the size record is written")
    os.remove(settings)
    if os.path.exists(size_record):
        os.remove(size_record)


def no_sound_server(program, renderer):
    """No sound server at all from the start."""
    with Session(program, sound=False) as s:
        s.start()
        s.type_keys("6*7=")
        time.sleep(1.5)
        s.type_keys(" 1")
        check(Day(s, renderer).display_matches("1", BLUE),
              "the program works without any sound server")
        s.program.terminate()
        check(s.wait_program_end() == 0, "and ends cleanly on SIGTERM")


def main():
    program, renderer = sys.argv[1], sys.argv[2]
    try:
        with Session(program, sound=True) as s:
            day = Day(s, renderer)
            for step in (removed_clips, save_folder_is_a_file, settings_write_limit,
                         desktop_close_with_a_box_open):
                print(f"-- {step.__name__}", flush=True)
                step(s)
            for step in (sound_server_frozen_mid_reading, reading_through_a_stall,
                         key_after_idle, sound_server_restarted, sound_server_killed):
                print(f"-- {step.__name__}", flush=True)
                step(s, day)
        print("-- no_sound_server", flush=True)
        no_sound_server(program, renderer)
    except Exception as error:
        failures.append(f"{type(error).__name__}: {error}")
        print(f"FAIL {error}", flush=True)
    if failures:
        print(f"{len(failures)} check(s) failed", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
