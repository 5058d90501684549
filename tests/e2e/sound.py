# SPDX-License-Identifier: GPL-3.0-or-later
"""What was heard at the null sink: onsets of sound after silence, read from a capture."""

import array
import math

WINDOW_MS = 5
# A reading speaks one clip per step. Where a test checks that a reading is paced, not how
# precisely (the benchmarks measure that), a step may be this far off: a busy machine
# delays a clip's start by a scheduling slice or two.
READING_STEP_MS = 450
STEP_SLACK_MS = 200
# Clips played apart start at least this far from each other. A sound stream whose thread
# was kept from running for a moment pauses and resumes mid-clip; the sound after that gap
# is the same clip, not another one.
CLIP_MS = 250


def read_capture(path):
    """The samples (first channel) and rate of a 16-bit capture, also while it is still
    being recorded, when its header does not yet give the data's length."""
    with open(path, "rb") as f:
        raw = f.read()
    fmt = raw.find(b"fmt ")
    data_at = raw.find(b"data", fmt)
    if fmt < 0 or data_at < 0:
        return array.array("h"), 22050
    channels = int.from_bytes(raw[fmt + 10:fmt + 12], "little")
    rate = int.from_bytes(raw[fmt + 12:fmt + 16], "little")
    declared = int.from_bytes(raw[data_at + 4:data_at + 8], "little")
    body = raw[data_at + 8:]
    if 0 < declared < len(body):
        body = body[:declared]
    data = array.array("h", body[:len(body) // 2 * 2])
    return (data[::channels] if channels > 1 else data), rate


def envelope(path):
    """RMS level in dBFS for every 5 ms of a 16-bit capture, with the window rate."""
    data, rate = read_capture(path)
    step = rate * WINDOW_MS // 1000
    levels = []
    for start in range(0, len(data) - step + 1, step):
        chunk = data[start:start + step]
        power = sum(s * s for s in chunk) / step
        levels.append(-120.0 if power == 0 else 10 * math.log10(power / (32768.0 ** 2)))
    return levels


def onsets(path, threshold_db=-45.0, silence_ms=30):
    """Times in ms where sound starts after at least silence_ms of quiet."""
    levels = envelope(path)
    need = silence_ms // WINDOW_MS
    quiet = need
    found = []
    for i, level in enumerate(levels):
        if level > threshold_db:
            if quiet >= need:
                found.append(i * WINDOW_MS)
            quiet = 0
        else:
            quiet += 1
    return found


def clip_onsets(path, threshold_db=-45.0):
    """Times in ms where separate clips start: an onset within CLIP_MS of the one before
    belongs to the same clip."""
    found = []
    for t in onsets(path, threshold_db):
        if not found or t - found[-1] >= CLIP_MS:
            found.append(t)
    return found


def reading_clips(path, threshold_db=-45.0):
    """Starts of the clips of a reading, one a step: a two-syllable word or a stop inside
    a word ("dian", "deng yu") is heard as more than one burst within its step, a stream
    that stalled for a moment leaves crumbs of a few ms, and one that caught up again runs
    two clips together into one burst of more than a step."""
    found = []
    for start, length in bursts(path, threshold_db):
        if length < 30:
            continue
        t = start
        while t == start or t < start + length - 100:
            if not found or t - found[-1] >= READING_STEP_MS - 100:
                found.append(t)
            t += READING_STEP_MS
    return found


def paced(starts):
    """Whether clip starts follow each other at a reading's steps."""
    return all(abs(b - a - READING_STEP_MS) <= STEP_SLACK_MS for a, b in zip(starts, starts[1:]))


def quiet_at_end_ms(path, threshold_db=-45.0):
    """How long the capture has been quiet at its end."""
    levels = envelope(path)
    loud = [i for i, level in enumerate(levels) if level > threshold_db]
    return (len(levels) - 1 - loud[-1]) * WINDOW_MS if loud else 0


def sounding_ms(path, threshold_db=-45.0):
    """How many ms of the capture are above the threshold."""
    return sum(WINDOW_MS for level in envelope(path) if level > threshold_db)


def bursts(path, threshold_db=-45.0, silence_ms=30):
    """(start, length) in ms of each stretch of sound separated by silence_ms of quiet."""
    levels = envelope(path)
    need = silence_ms // WINDOW_MS
    found = []
    start = None
    last = None
    for i, level in enumerate(levels):
        t = i * WINDOW_MS
        if level > threshold_db:
            if start is None or (t - last) > silence_ms:
                if start is not None:
                    found.append((start, last + WINDOW_MS - start))
                start = t
            last = t
    if start is not None:
        found.append((start, last + WINDOW_MS - start))
    return found
