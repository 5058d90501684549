#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A storm of plays through the program's own sound layer at a private PulseAudio null sink:
# COUNT clips of the recordings with random gaps of 0–30 ms, so most are cut mid-clip, then
# one last clip after a pause. The player must survive it (under the sanitizers when built
# so), open at most two streams at the server for the whole run, and the last clip must be
# heard whole.
#
#   clip-storm.sh <clip_play_tool> <folder of the recorded clips> [COUNT] [SEED]
#
# ./test runs 2,000 plays; run it by hand with 20,000 for a longer campaign. Exit 77
# (skipped) when no sound server can be started, except with CI=true.
set -uo pipefail

tool=$1
clips=$2
count=${3:-2000}
RANDOM=${4:-12}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=pulse-session.sh
source "$here/pulse-session.sh"

work=$(mktemp -d)
cleanup() {
  [[ -n "${watcher:-}" ]] && kill "$watcher" 2>/dev/null
  pulse_cleanup
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

for command in pulseaudio pactl parecord sox; do
  command -v "$command" >/dev/null || unavailable "$command is not installed"
done
[[ -f "$clips/111.wav" ]] || unavailable "no recorded clips in $clips"
pulse_start || unavailable "no sound server"

pactl subscribe >"$work/events.txt" 2>/dev/null &
watcher=$!
PULSE_PIDS+=("$watcher")

events=()
at=0
for ((i = 0; i < count; i++)); do
  events+=("$at:$clips/$((100 + RANDOM % 19)).wav")
  at=$((at + RANDOM % 31))
done
last_ms=$((at + 2000))
events+=("$last_ms:$clips/111.wav")

capture_start "$work/capture.wav" || exit 1
timeout $((at / 1000 + 120)) "$tool" "${events[@]}" >"$work/plays.txt"
status=$?
capture_stop
sleep 0.2

failures=0
report() { # condition, description
  if (($1)); then echo "ok: $2"; else echo "FAILED: $2"; failures=$((failures + 1)); fi
}
played=$(grep -c '^play ' "$work/plays.txt")
report "status == 0 && played == count + 1" "the player took all $((count + 1)) plays and ended (status $status)"
streams=$(grep -c "'new' on sink-input" "$work/events.txt")
report "streams >= 1 && streams <= 2" "$streams stream(s) opened at the server for the whole run"

# The last clip: the sound from the last onset after the pause on, against the clip's own,
# both read the same way. Sound is counted, not the span from first to last: a sound thread
# kept from running on a busy machine pauses the stream, and the clip resumes after the gap
# with nothing lost.
sounds=$(python3 - "$here/../e2e" "$work/capture.wav" "$clips/111.wav" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import sound

def sounding_after_quiet(path, after_quiet_ms):
    levels = sound.envelope(path)
    loud = [i for i, level in enumerate(levels) if level > -45.0]
    start = loud[0]
    for previous, i in zip(loud, loud[1:]):
        if (i - previous) * sound.WINDOW_MS >= after_quiet_ms:
            start = i
    return sum(1 for i in loud if i >= start) * sound.WINDOW_MS

print(sounding_after_quiet(sys.argv[2], 1000), sound.sounding_ms(sys.argv[3]))
PY
)
read -r last recorded <<<"$sounds"
report "last > recorded - 40 && last < recorded + 40" \
  "the last clip is heard whole ($last ms of $recorded ms)"
((failures == 0))
