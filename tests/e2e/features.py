#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The additions for people who calculate by ear, on the real program: F5 heard at the
sound server, the clipboard of the X server, a voice pack heard in place of a built-in
clip, packs that are hostile or heavy, the calculation read again and the record walked
by ear, numbers read as amounts, and the window drawn at twice the size.

    features.py <program>
"""

import array
import math
import os
import shutil
import subprocess
import sys
import time
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sound  # noqa: E402
import xclient  # noqa: E402
from harness import Checks, Session, unavailable, wait_for  # noqa: E402

TONE_HZ = 1000
check = Checks()


def write_tone(path, rate=44100, channels=2, seconds=0.35):
    """A 1 kHz tone in 16-bit stereo at 44.1 kHz: nothing like the built-in clips."""
    samples = array.array("h")
    for i in range(int(rate * seconds)):
        value = int(12000 * math.sin(2 * math.pi * TONE_HZ * i / rate))
        samples.extend([value] * channels)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(samples.tobytes())


def crossings_per_second(path, start_ms, length_ms):
    """Zero crossings a second within a stretch of a mono capture: 2000 for a 1 kHz tone."""
    data, rate = sound.read_capture(path)
    part = data[start_ms * rate // 1000:(start_ms + length_ms) * rate // 1000]
    crossings = sum(1 for a, b in zip(part, part[1:]) if (a < 0) != (b < 0))
    return crossings * 1000 / max(length_ms, 1)


def longest_burst(capture):
    """(start, ms) of the longest stretch of sound: a clip whose stream paused for a moment
    is heard in pieces, and the tone is measured within one."""
    return max(sound.bursts(capture), key=lambda burst: burst[1])


def clipboard(s, text=None):
    if text is None:
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=s.env,
                              capture_output=True, text=True, timeout=10).stdout
    # xclip stays behind to serve the selection; it is stopped with the session.
    s.processes.append(subprocess.Popen(["xclip", "-i", "-selection", "clipboard", "-quiet"],
                                        env=s.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    s.processes[-1].stdin.write(text.encode())
    s.processes[-1].stdin.close()
    wait_for(lambda: clipboard(s) == text, 10, "the clipboard to hold " + text)


def voice_pack_and_f5(s):
    voice = os.path.join(s.app_dir, "voice")
    os.makedirs(voice, mode=0o700)
    write_tone(os.path.join(voice, "105.wav"))
    with open(os.path.join(voice, "106.wav"), "wb") as f:
        f.write(b"RIFF\x10\x00\x00\x00WAVEbroken")
    s.start()
    # The pack is read once the window has first been drawn.
    wait_for(lambda: "voice/106.wav" in s.program_log(), 10, "the pack to be read")
    log = s.program_log().splitlines()
    check([line for line in log if "voice/" in line] ==
          [line for line in log if "voice/106.wav" in line] and
          len([line for line in log if "voice/106.wav" in line]) == 1,
          "a broken pack file is named in one line, the good one in none")

    capture, _ = s.hear("pack", lambda: s.type_keys("5"), 1)
    start, length = longest_burst(capture)
    rate = crossings_per_second(capture, start + 20, min(length, 300) - 40)
    check(abs(rate - 2 * TONE_HZ) < 100,
          f"key 5 plays the pack's 44.1 kHz stereo tone ({rate:.0f})")
    capture, _ = s.hear("builtin", lambda: s.type_keys("6"), 1)
    start, length = longest_burst(capture)
    rate = crossings_per_second(capture, start + 20, min(length, 300) - 40)
    check(abs(rate - 2 * TONE_HZ) >= 100,
          f"key 6, whose pack file is broken, speaks ({rate:.0f})")

    # The reading's clips are at most 450 ms apart; a longer silence is its end.
    s.hear("result", lambda: s.type_keys(" 12+3="), 1, quiet_ms=800)
    _, heard = s.hear("again", lambda: s.xdotool("key", "F5"), 2)
    check(len(heard) == 2 and sound.paced(heard),
          f"F5 reads 15 again as two clips a reading's step apart ({heard})")


def copy_and_paste(s):
    s.activate()
    s.xdotool("key", "ctrl+c")
    check(clipboard(s) == "15", "Ctrl+C after 12+3= leaves 15 on the clipboard")

    clipboard(s, "42.5")
    s.hear("clear", lambda: s.type_keys(" "), 1)
    _, heard = s.hear("paste", lambda: s.xdotool("key", "ctrl+v"), 4, quiet_ms=800)
    check(len(heard) == 4, "the pasted 42.5 is read aloud")
    s.hear("sum", lambda: s.type_keys("+1="), 1, quiet_ms=800)
    s.xdotool("key", "ctrl+c")
    check(wait_for(lambda: clipboard(s) == "43.5", 5, "43.5", interval=0.1),
          "42.5 pasted after a clear, then +1=, gives 43.5")

    clipboard(s, "8")
    s.type_keys(" 7")
    s.xdotool("key", "ctrl+v", "ctrl+c")
    check(wait_for(lambda: clipboard(s) == "7", 5, "7", interval=0.1),
          "a paste into an entry already begun enters nothing")
    s.program.terminate()
    check(s.wait_program_end() == 0, "the program ends cleanly")


def sox(*args, stdout=None):
    """Runs sox; a length-less file is one written to a pipe, so sox cannot go back to
    fill its length in."""
    if shutil.which("sox") is None:
        unavailable("sox")
    subprocess.run(["sox", *args], check=True, stdout=stdout)


def lengthless_tone(path, seconds):
    with open(path, "wb") as f:
        writer = subprocess.Popen(["cat"], stdin=subprocess.PIPE, stdout=f)
        sox("-n", "-r", "44100", "-c", "1", "-t", "flac", "-", "synth", str(seconds),
            "sine", str(TONE_HZ), "vol", "0.3", stdout=writer.stdin)
        writer.stdin.close()
        writer.wait()


def own_pack(s, files):
    """A fresh voice folder holding `files`, a {clip number: writer(path)} map."""
    voice = os.path.join(s.app_dir, "voice")
    shutil.rmtree(voice, ignore_errors=True)
    os.makedirs(voice, mode=0o700)
    for number, write in files.items():
        write(os.path.join(voice, f"{number}.wav"))
    return voice


def pack_tone_heard(s, name):
    capture, _ = s.hear(name, lambda: s.type_keys("5"), 1)
    start, length = longest_burst(capture)
    rate = crossings_per_second(capture, start + 20, min(length, 300) - 40)
    return abs(rate - 2 * TONE_HZ) < 100, length


def lengthless_packs(s):
    """FLAC written without its length: kept within 3 s, refused beyond, never the end of
    the program."""
    own_pack(s, {105: lambda p: lengthless_tone(p, 1), 106: lambda p: lengthless_tone(p, 4)})
    # The log goes on from the earlier steps; only what this run writes counts.
    mark = len(s.program_log())
    s.start()
    wait_for(lambda: "voice/106.wav" in s.program_log()[mark:], 30, "the pack to be read")
    refusals = [line for line in s.program_log()[mark:].splitlines() if "voice/" in line]
    check(len(refusals) == 1 and "106.wav" in refusals[0] and "3 s" in refusals[0],
          f"a 4 s length-less FLAC is refused in one line, a 1 s one kept ({refusals})")
    tone, length = pack_tone_heard(s, "lengthless")
    check(tone and 850 < length < 1200, f"key 5 plays the 1 s length-less FLAC ({length} ms)")
    s.program.terminate()
    s.wait_program_end()


def heavy_pack(s):
    """The heaviest pack the limits allow, 8 channels at 192 kHz: converted while the window
    keeps answering, then heard once it has taken over."""
    heavy = os.path.join(s.root, "heavy.ogg")
    sox("-n", "-r", "192000", "-c", "8", "-C", "0", heavy, "synth", "3", "sine", str(TONE_HZ),
        "vol", "0.3")
    own_pack(s, {n: lambda p: shutil.copy(heavy, p) for n in range(100, 119)})
    mark = len(s.program_log())
    s.start()
    pinger = xclient.Pinger(s.display, s.window)
    try:
        started = time.monotonic()
        slow = []
        while time.monotonic() < started + 5:
            took = pinger.ping(1.0)
            took = 1.0 if took is None else took
            if took >= 0.1:
                slow.append((round(time.monotonic() - started, 2), round(took, 3)))
            time.sleep(0.02)
    finally:
        pinger.close()
    check(not slow, f"the window answers pings within 100 ms while the pack converts "
                    f"(slower ones at s: {slow})")
    # Until the pack is whole the built-in clip speaks; a sanitizer build converts slowly.
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        try:
            if pack_tone_heard(s, "heavy")[0]:
                break
        except TimeoutError:  # a press unheard on a loaded machine is tried again
            pass
        time.sleep(1)
    check(time.monotonic() < deadline, "the heavy pack's tone is heard once it has taken over")
    check("voice/" not in s.program_log()[mark:], "and none of its files is refused")
    s.program.terminate()
    check(s.wait_program_end() == 0, "the program ends cleanly")


# Where the display and the close key are, in pixels of the window.
DISPLAY_AT = (131, 69)
CLOSE_AT = (234, 19)


def key_heard(s, name, key):
    """Presses a key, waits for the reading it starts to end and gives its clips' starts."""
    capture, _ = s.hear(name, lambda: s.xdotool("key", key), 1, quiet_ms=800)
    return sound.reading_clips(capture)


def review_by_ear(s):
    with open(os.path.join(s.app_dir, "sty.inf"), "wb") as f:
        f.write(b"3555,2940,#TRUE#,1,2,1\r\n")
    s.start()
    heard = key_heard(s, "f6-first", "F6")
    check(len(heard) == 1, f"F6 before any calculation sounds the fallback tone once ({heard})")
    # Each reading after "=" is heard out first: its clips hold every key.
    s.hear("first-line", lambda: s.type_keys(" 1+1="), 1, quiet_ms=800)
    s.hear("second-line", lambda: s.type_keys("12+3.5="), 1, quiet_ms=800)
    heard = key_heard(s, "f6", "F6")
    check(len(heard) == 11 and sound.paced(heard),
          f"F6 after 12+3.5= reads its line in 11 clips, a step apart ({heard})")
    heard = key_heard(s, "up", "Up")
    check(len(heard) == 5, f"Up in a two-line record reads 1+1=2 in 5 clips ({heard})")
    heard = s.hear("stopped", lambda: s.xdotool("key", "--delay", "100", "F6", "7"), 1,
                   quiet_ms=800)[1]
    check(len(heard) <= 2, f"a digit typed during a review reading stops it ({heard})")
    s.xdotool("key", "ctrl+c")
    check(wait_for(lambda: clipboard(s) == "7", 5, "7", interval=0.1),
          "and is entered as usual")
    s.program.terminate()
    s.wait_program_end()


def reading_styles(s):
    style_file = os.path.join(s.app_dir, "readstyle.inf")
    s.start()
    heard = key_heard(s, "f7", "F7")
    check(len(heard) == 1, f"F7 reads the sample 10 as 十, one clip ({heard})")
    s.hear("entry", lambda: s.type_keys(" 12345"), 1, quiet_ms=800)
    heard = key_heard(s, "amount", "F5")
    check(len(heard) == 9, f"F5 on 12345 reads 一万二千三百四十五 in 9 clips ({heard})")
    s.click(*CLOSE_AT)
    check(s.wait_program_end() == 0, "the close key ends the program")
    with open(style_file, "rb") as f:
        check(f.read() == b"2\r\n", "and writes the style to readstyle.inf")

    s.start()
    heard = key_heard(s, "f7-back", "F7")
    check(len(heard) == 2, f"after a restart F7 goes back to digits: 一零 ({heard})")
    before = set(s.windows())
    s.click(*DISPLAY_AT, button=3)
    menu = wait_for(lambda: next(iter(set(s.windows()) - before), None), 10, "the display menu")
    _, _, width, height = s.geometry(menu)
    # The last item, 按单位读, lies at the menu's foot.
    heard = s.hear("menu-style", lambda: s.click(width // 2, height - 10, window=menu), 1,
                   quiet_ms=800)[1]
    check(len(heard) == 1, f"the menu's 按单位读 switches the style: 十 ({heard})")
    s.xdotool("key", "ctrl+q")
    check(s.wait_program_end() == 0, "Ctrl+Q ends the program")
    with open(style_file, "rb") as f:
        check(f.read() == b"2\r\n", "with the style the menu chose kept")


def large_print(program):
    with Session(program, sound=False) as s:
        with open(os.path.join(s.app_dir, "sty.inf"), "wb") as f:
            f.write(b"1800,1260,#FALSE#,1,2,1\r\n")
        s.start(args=["--scale", "2"], height=816)
        x, y, width, height = s.geometry(s.window)
        check((width, height) == (528, 816),
              f"--scale 2 opens a 528 x 816 window ({width} x {height})")
        check((x, y) == (120, 84), f"at 15 twips to a screen pixel of the saved place ({x}, {y})")
        s.program.terminate()
        s.wait_program_end()

        # The widest window, 528 x 408 at 1x, fits a 1280 x 1024 screen 2.42 times.
        s.start(args=["--scale=4"], height=987)
        _, _, width, height = s.geometry(s.window)
        check((width, height) == (639, 987),
              f"--scale 4 is reduced to fit the screen ({width} x {height})")
        s.program.terminate()
        check(s.wait_program_end() == 0, "and the program, started over at that size, ends cleanly")


def main():
    program = sys.argv[1]
    try:
        with Session(program, sound=True) as s:
            for step in (voice_pack_and_f5, copy_and_paste, lengthless_packs, heavy_pack):
                print(f"-- {step.__name__}", flush=True)
                step(s)
        # Heard in the built-in voice, without the pack's tone.
        with Session(program, sound=True) as s:
            for step in (review_by_ear, reading_styles):
                print(f"-- {step.__name__}", flush=True)
                step(s)
        print("-- large_print", flush=True)
        large_print(program)
    except Exception as error:
        check.broke(error)
    return check.exit_status()


if __name__ == "__main__":
    sys.exit(main())
