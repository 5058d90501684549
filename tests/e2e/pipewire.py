#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program at PipeWire's PulseAudio server, as most desktops now run it: keys are
heard, a reading keeps its steps, and the voice comes back after the server is restarted.

    pipewire.py <program>
"""

import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sound  # noqa: E402
from harness import Checks, Session, unavailable, wait_for  # noqa: E402

SERVERS = ("pipewire", "wireplumber", "pipewire-pulse")

check = Checks()


class PipeWire:
    """PipeWire, its session manager and its PulseAudio server in the session's own runtime
    folder, with a null sink to record from."""

    def __init__(self, s):
        self.s = s
        self.env = dict(s.env)
        # The session manager links no stream without a session bus; a bus of its own keeps
        # the servers from starting one through X.
        self.env.pop("DISPLAY", None)
        bus = os.path.join(s.root, "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
        self.env["XDG_STATE_HOME"] = os.path.join(s.home, ".local", "state")
        self.running = []
        if shutil.which("dbus-daemon") is None:
            unavailable("dbus-daemon")
        s.processes.append(subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for(lambda: os.path.exists(bus), 10, "the session bus")

    def start(self):
        if any(shutil.which(name) is None for name in SERVERS):
            unavailable("PipeWire")
        log = open(os.path.join(self.s.root, "pipewire.log"), "ab")
        socket = os.path.join(self.s.runtime, "pipewire-0")
        for name in SERVERS:
            proc = subprocess.Popen([name], env=self.env, stdout=log, stderr=log)
            self.running.append(proc)
            self.s.processes.append(proc)
            if name == "pipewire":
                wait_for(lambda: os.path.exists(socket), 15, "PipeWire")
        try:
            wait_for(lambda: "PipeWire" in self.pactl("info"), 15, "pipewire-pulse")
            self.pactl("load-module", "module-null-sink", "sink_name=null")
            self.pactl("set-default-sink", "null")
            wait_for(lambda: "null" in self.pactl("list", "short", "sinks"), 10, "the null sink")
        except TimeoutError:
            unavailable("pipewire-pulse")

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self.s.env, capture_output=True,
                              text=True).stdout

    def stop(self):
        for proc in reversed(self.running):
            proc.send_signal(signal.SIGTERM)
            proc.wait(10)
        self.running = []


def main():
    try:
        with Session(sys.argv[1], sound=False) as s:
            server = PipeWire(s)
            server.start()
            s.start()

            def keys(text):
                for key in text:
                    s.type_keys(key)
                    time.sleep(0.4)

            _, heard = s.hear("keys", lambda: keys("1234"), 4)
            check(len(heard) == 4, f"every key is heard: {heard}")
            s.hear("sum", lambda: s.type_keys(" 12+3.5"), 1)
            _, heard = s.hear("reading", lambda: s.type_keys("="), 1, quiet_ms=800)
            steps = [b - a for a, b in zip(heard, heard[1:])]
            check(len(heard) == 5 and sound.paced(heard),
                  f"the equals clip, then 15.5 at a reading's steps: {steps} ms")

            server.stop()
            s.type_keys("2")
            server.start()
            capture = os.path.join(s.root, "restarted.wav")
            recorder = s.record_sink(capture)
            keys("34567")
            recorder.terminate()
            recorder.wait()
            heard = sound.bursts(capture)
            # The keys of the first second may go while the program finds the new server.
            check(len(heard) >= 3 and heard[0][0] < 1300,
                  f"the voice is back within about a second of the restart: {heard}")
            s.program.terminate()
            check(s.wait_program_end() == 0, "and the program ends cleanly")
    except Exception as error:  # a step that cannot go on is one failure
        check.broke(error)
    return check.exit_status()


if __name__ == "__main__":
    sys.exit(main())
