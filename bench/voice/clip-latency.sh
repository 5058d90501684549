#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Call-to-first-audio latency of the program's sound layer at a private PulseAudio null
# sink: a tone that sounds from its first sample is played 25 times through PulseClipPlayer
# and its onset found in the sink's monitor.
#
#   bench/voice/clip-latency.sh <clip_play_tool> [plays]
#
# clip_play_tool is built with the tests (tests/audio). Exits 77 when no server starts.
set -euo pipefail

tool=$1
plays=${2:-25}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tests/audio/pulse-session.sh
source "$here/../../tests/audio/pulse-session.sh"
trap pulse_cleanup EXIT

pulse_start || exit 77
sox -n -r 22050 -b 16 -c 1 "$PULSE_RUNTIME/tone.wav" synth 0.2 sine 1000 vol 0.5
python3 "$here/measure-latency.py" "$tool" "$PULSE_RUNTIME/tone.wav" "$plays"
