# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a tone through clip_play_tool while reading the null sink's monitor as it comes,
and prints the time from each play() call to the first sound at the sink.

Both sides use CLOCK_MONOTONIC: the tool prints the steady-clock time of each call, and the
recorder stamps every block of samples as it arrives. The recording's own delay is
included, so the figures are an upper bound.
"""

import array
import os
import statistics
import subprocess
import sys
import threading
import time

RATE = 44100
BLOCK_SAMPLES = RATE // 200  # 5 ms
THRESHOLD = 1000  # well above the silence of a null sink, well below the tone
SPACING_MS = 400


def record(process, blocks, stop):
    fd = process.stdout.fileno()
    while not stop.is_set():
        data = os.read(fd, BLOCK_SAMPLES * 2)
        if not data:
            return
        blocks.append((time.monotonic_ns(), data))


def sample_clock(blocks):
    """Samples as one array and the time of sample 0: the least delayed block decides."""
    samples = array.array("h")
    offset = None
    for arrived, data in blocks:
        samples.frombytes(data[: len(data) // 2 * 2])
        start = arrived - len(samples) * 1_000_000_000 // RATE
        offset = start if offset is None else min(offset, start)
    return samples, offset


def onset_after(samples, offset, call_ns):
    first = max(0, (call_ns - offset) * RATE // 1_000_000_000)
    for index in range(first, len(samples)):
        if abs(samples[index]) > THRESHOLD:
            return offset + index * 1_000_000_000 // RATE
    return None


def main():
    tool, tone, plays = sys.argv[1], sys.argv[2], int(sys.argv[3])
    recorder = subprocess.Popen(
        ["parec", "--latency-msec=5", "-d", "null.monitor", "--format=s16le",
         f"--rate={RATE}", "--channels=1", "--raw"],
        stdout=subprocess.PIPE)
    blocks, stop = [], threading.Event()
    reader = threading.Thread(target=record, args=(recorder, blocks, stop), daemon=True)
    reader.start()
    # A fresh null sink has rendered up to two seconds ahead in its first blocks; sound
    # played before that time has passed is heard late, which is not the player's doing.
    time.sleep(2.5)
    events = [f"{i * SPACING_MS}:{tone}" for i in range(plays)]
    output = subprocess.run([tool, *events], capture_output=True, text=True, check=True)
    time.sleep(0.3)
    stop.set()
    recorder.terminate()
    recorder.wait()
    samples, offset = sample_clock(blocks)

    calls = [(int(f[2]), float(f[3])) for f in
             (line.split() for line in output.stdout.splitlines()) if f[0] == "play"]
    latencies = []
    for call_ns, _ in calls:
        heard = onset_after(samples, offset, call_ns)
        if heard is not None:
            latencies.append((heard - call_ns) / 1e6)
    if len(latencies) < plays:
        print(f"only {len(latencies)} of {plays} plays were heard", file=sys.stderr)
        return 1
    later = latencies[1:]
    print(f"first play (connects to the server): {latencies[0]:.1f} ms")
    print(f"call to first audio, plays 2..{plays}: median {statistics.median(later):.1f} ms, "
          f"min {min(later):.1f} ms, max {max(later):.1f} ms")
    call_us = [us for _, us in calls]
    print(f"play() call: median {statistics.median(call_us):.1f} us, max {max(call_us):.1f} us")
    return 0


if __name__ == "__main__":
    sys.exit(main())
