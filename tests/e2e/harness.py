# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the real calculator the way a user meets it: its own X server, its own sound
server, a temporary application folder and temporary home folders. Everything started
here is stopped by its PID, whatever happens in the test."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import sound

SKIP = 77


def in_ci():
    return os.environ.get("CI") == "true"


def unavailable(what):
    """A service that cannot start fails the run in CI and skips it elsewhere."""
    print(f"{what} is not available", file=sys.stderr)
    sys.exit(1 if in_ci() else SKIP)


def wait_for(predicate, timeout, what, interval=0.02):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(interval)
    raise TimeoutError(f"timed out waiting for {what}")


class Checks:
    """Checks that are counted rather than stopping at the first failure; a step that
    cannot go on is one failure too."""

    def __init__(self):
        self.failures = []

    def __call__(self, condition, what):
        print(f"{'ok  ' if condition else 'FAIL'} {what}", flush=True)
        if not condition:
            self.failures.append(what)

    def broke(self, error):
        self.failures.append(f"{type(error).__name__}: {error}")
        print(f"FAIL {error}", flush=True)

    def exit_status(self):
        if self.failures:
            print(f"{len(self.failures)} check(s) failed", flush=True)
            return 1
        return 0


class Session:
    """One sealed desktop: X server, optional sound server, the program's folders."""

    def __init__(self, binary, sound=False, width=1280, height=1024):
        self.binary = os.path.abspath(binary)
        self.root = tempfile.mkdtemp(prefix="calc-e2e-")
        self.processes = []
        self.app_dir = os.path.join(self.root, "app")
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "runtime")
        for path in (self.app_dir, self.home, self.runtime):
            os.makedirs(path)
        os.chmod(self.runtime, 0o700)
        shutil.copy2(self.binary, self.app_dir)
        self.program_path = os.path.join(self.app_dir, os.path.basename(self.binary))
        self.env = self._base_env()
        self.display = self._start_xvfb(width, height)
        self.env["DISPLAY"] = self.display
        self.sink = None
        if sound:
            self._start_pulseaudio()
        self.program = None

    def _base_env(self):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_RUNTIME_DIR": self.runtime,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "LANG": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            # Leaks of the toolkit at exit are not the program's; everything else is checked.
            "ASAN_OPTIONS": "detect_leaks=0",
            "UBSAN_OPTIONS": "halt_on_error=1",
        }
        return env

    # -- X server -----------------------------------------------------------------
    def _start_xvfb(self, width, height):
        if shutil.which("Xvfb") is None:
            unavailable("Xvfb")
        read_end, write_end = os.pipe()
        proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
             "-screen", "0", f"{width}x{height}x24"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=self.env)
        os.close(write_end)
        self.processes.append(proc)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            self.close()
            unavailable("the X server")
        return ":" + number.decode().strip()

    # -- sound server -------------------------------------------------------------
    def _start_pulseaudio(self):
        if shutil.which("pulseaudio") is None:
            self.close()
            unavailable("PulseAudio")
        config = os.path.join(self.root, "pulse.pa")
        with open(config, "w") as f:
            f.write("load-module module-native-protocol-unix auth-anonymous=1\n"
                    "load-module module-null-sink sink_name=null\n"
                    "set-default-sink null\n")
        pulse_dir = os.path.join(self.runtime, "pulse")
        os.makedirs(pulse_dir, mode=0o700, exist_ok=True)
        self.env["PULSE_RUNTIME_PATH"] = pulse_dir
        proc = subprocess.Popen(
            ["pulseaudio", "-n", "-F", config, "--daemonize=no", "--exit-idle-time=-1",
             "--disallow-exit", "--system=false", "--log-target=stderr"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env)
        self.processes.append(proc)
        try:
            wait_for(lambda: subprocess.run(["pactl", "info"], env=self.env,
                                            capture_output=True).returncode == 0,
                     15, "PulseAudio")
        except TimeoutError:
            self.close()
            unavailable("PulseAudio")
        self.sink = "null"
        self.pulse = proc

    def record_sink(self, path):
        """Records the null sink's monitor; returns once audio is flowing into the file."""
        proc = subprocess.Popen(
            ["parecord", "--latency-msec=10", "-d", "null.monitor", "--file-format=wav",
             "--rate=22050", "--channels=1", "--format=s16le", path],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(proc)
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 4096, 10,
                 "the capture to start")
        return proc

    def hear(self, name, action, count, quiet_ms=300):
        """Runs an action while the null sink is recorded; returns the capture and the
        starts of its clips once `count` clips have been heard and quiet_ms of silence has
        followed. The quiet outlasts a stream paused on a busy machine, so a clip is not
        cut off from the capture in its middle."""
        capture = os.path.join(self.root, name + ".wav")
        recorder = self.record_sink(capture)
        action()
        try:
            wait_for(lambda: len(sound.clip_onsets(capture)) >= count and
                     sound.quiet_at_end_ms(capture) >= quiet_ms, 20, f"{count} sounds")
        finally:
            recorder.terminate()
            recorder.wait()
            heard = sound.clip_onsets(capture)
            print(f"{name}: clips start at (ms) {heard}; bursts (start, ms) "
                  f"{sound.bursts(capture)}", flush=True)
        return capture, heard

    # -- the program --------------------------------------------------------------
    def start(self, extra_env=None, args=(), height=408):
        """Starts the program and waits for its main window, known by its height."""
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        self.window_height = height
        self.log = open(os.path.join(self.root, "program.log"), "ab")
        self.program = subprocess.Popen([self.program_path, *args], env=env, cwd=self.root,
                                        stdout=self.log, stderr=self.log)
        self.processes.append(self.program)
        self.window = wait_for(self._main_window, 30, "the main window")
        self.activate()
        return self.window

    def _main_window(self):
        if self.program.poll() is not None:
            raise RuntimeError(f"program ended early with {self.program.returncode}:\n"
                               + self.program_log())
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(self.program.pid),
                           check=False).split()
        for wid in ids:
            geometry = self.geometry(wid)
            if geometry and geometry[3] == self.window_height:
                return wid
        return None

    def program_log(self):
        try:
            with open(os.path.join(self.root, "program.log"), "rb") as f:
                return f.read().decode(errors="replace")
        except FileNotFoundError:  # nothing started yet
            return ""

    def windows(self):
        return self.xdotool("search", "--onlyvisible", "--pid", str(self.program.pid),
                            check=False).split()

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                                text=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr}")
        return result.stdout

    def geometry(self, wid):
        out = self.xdotool("getwindowgeometry", "--shell", wid, check=False)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        try:
            return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                    int(values["HEIGHT"]))
        except KeyError:
            return None

    def activate(self):
        # Without a window manager the focus follows only what is asked for.
        self.xdotool("windowfocus", "--sync", self.window, check=False)

    KEY_NAMES = {"\r": "Return", "\b": "BackSpace", " ": "space", "+": "plus", "-": "minus",
                 "*": "asterisk", "/": "slash", ".": "period", "=": "equal",
                 "\\": "backslash"}

    def type_keys(self, text):
        """Types characters into the calculator as a keyboard would (XTEST), with the
        window focused; Enter is "\\r", Backspace "\\b"."""
        self.activate()
        keys = [self.KEY_NAMES.get(ch, ch) for ch in text]
        if keys:
            self.xdotool("key", "--delay", "20", *keys)

    def press_until_gone(self, wid, key, timeout=10):
        """Presses a key on a dialog until it closes. A box that has just been mapped may
        not take keys yet, so one press is not always enough; but a second press must not
        follow too soon, or it lands on the window below once the box has gone."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.xdotool("windowfocus", "--sync", wid, check=False)
            self.xdotool("key", key, check=False)
            try:
                wait_for(lambda: wid not in self.windows(), 1.5, "the dialog to close")
                return
            except TimeoutError:
                continue
        raise TimeoutError("the dialog did not close")

    def click(self, x, y, button=1, window=None):
        wid = window or self.window
        self.xdotool("mousemove", "--window", wid, str(x), str(y), "click", str(button))

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True,
                       capture_output=True)
        return path

    def wait_program_end(self, timeout=15):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("the program did not end")

    def close(self):
        for proc in reversed(self.processes):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.processes = []
        if os.environ.get("KEEP_E2E") != "1":
            shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False
