#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Clips played through the program's own sound layer, heard at a private PulseAudio's null
# sink: whole clips at their length, a clip cut off by the next play stops, a missing file
# sounds the fallback, and a frozen server neither blocks the caller nor the exit.
#
#   clips-at-null-sink.sh <clip_play_tool> <folder of the recorded clips>
#
# Exit 77 (skipped) when no sound server can be started, except with CI=true, where that is
# a failure.
set -uo pipefail

tool=$1
clips=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=pulse-session.sh
source "$here/pulse-session.sh"

work=$(mktemp -d)
cleanup() {
  pulse_cleanup
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

failures=0
check() { # description, a condition for awk, then the measured values as name=value
  local description=$1 condition=$2 value
  shift 2
  local variables=()
  for value in "$@"; do
    variables+=(-v "$value")
  done
  if awk "${variables[@]}" "BEGIN { exit !($condition) }"; then
    echo "ok: $description ($*)"
  else
    echo "FAILED: $description ($*)"
    failures=$((failures + 1))
  fi
}

for command in pulseaudio pactl parecord sox soxi; do
  command -v "$command" >/dev/null || unavailable "$command is not installed"
done
pulse_start || unavailable "no sound server"

# Tones that sound from the first sample to the last, so lengths are exact.
sox -n -r 22050 -b 16 -c 1 "$work/long.wav" synth 1.0 sine 440 vol 0.5
sox -n -r 22050 -b 16 -c 1 "$work/short.wav" synth 0.2 sine 880 vol 0.5

# Seconds of sound (5 ms stretches above -45 dBFS) in a file and optionally a stretch of it
# (sox effects such as "trim START LENGTH"). Sound is counted, not the span from first to
# last: a sound thread kept from running on a busy machine pauses the stream, and the clip
# resumes after the gap with nothing lost.
sounding() {
  local file=$1
  shift
  sox "$file" "$work/part.wav" "$@"
  python3 - "$here/../e2e" "$work/part.wav" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import sound
print(sound.sounding_ms(sys.argv[2]) / 1000)
PY
}
level() {
  local file=$1
  shift
  sox "$file" -n "$@" stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'
}

timeline=(0:"$work/long.wav" 2000:"$work/long.wav" 2300:"$work/short.wav"
          4000:"$work/missing.wav")
if [[ -f "$clips/111.wav" && -f "$clips/105.wav" ]]; then
  timeline+=(5500:"$clips/111.wav" 7500:"$clips/105.wav")
fi

capture_start "$work/capture.wav" || exit 1
timeout 30 "$tool" "${timeline[@]}" >"$work/plays.txt" || { echo "the player failed"; exit 1; }
capture_stop
cat "$work/plays.txt"

total=$(soxi -D "$work/capture.wav")
after_onset=$(sox "$work/capture.wav" -n silence 1 0.005 -40d stat 2>&1 |
  awk '/^Length/ { print $3 }')
check "something was heard at the sink" "a > 0 && a < t" a="$after_onset" t="$total"
onset=$(awk -v t="$total" -v a="$after_onset" 'BEGIN { print t - a }')

# The sox trim of the recorded stretch that belongs to the play at <ms>, from just before it
# (or from the start of the recording, which may begin less than 0.1 s before the first sound).
stretch() {
  local at_ms=$1 seconds=$2
  echo trim "$(awk -v o="$onset" -v m="$at_ms" 'BEGIN { s = o + m / 1000 - 0.1; printf "%.4f", (s > 0 ? s : 0) }')" "$seconds"
}
capture=$work/capture.wav

read -r -a whole <<<"$(stretch 0 1.8)"
length=$(sounding "$capture" "${whole[@]}")
check "a whole clip plays to its end (1.000 s)" "l > 0.95 && l < 1.06" l="$length"
check "the clip is heard at a useful level" "r > 0.2" r="$(level "$capture" "${whole[@]}")"

read -r -a cut <<<"$(stretch 2000 1.8)"
length=$(sounding "$capture" "${cut[@]}")
check "a clip cut off after 0.3 s stops; the next one plays whole (0.5 s)" \
  "l > 0.44 && l < 0.58" l="$length"

read -r -a fallback <<<"$(stretch 4000 1.0)"
length=$(sounding "$capture" "${fallback[@]}")
check "a missing file sounds the fallback (0.12 s)" "l > 0.09 && l < 0.16" l="$length"

if [[ -f "$clips/111.wav" && -f "$clips/105.wav" ]]; then
  for entry in 5500:111 7500:105; do
    read -r -a part <<<"$(stretch "${entry%%:*}" 1.6)"
    heard=$(sounding "$capture" "${part[@]}")
    recorded=$(sounding "$clips/${entry##*:}.wav")
    check "clip ${entry##*:} is heard whole (${recorded} s of sound)" \
      "h > r - 0.04 && h < r + 0.04" h="$heard" r="$recorded"
  done
else
  echo "note: no recorded clips in $clips, only test tones were played"
fi

# A frozen server: the calls still return at once and the program still ends, whether the
# server froze before the first play or while a clip was sounding.
frozen_run() { # name, milliseconds before the server freezes
  local name=$1 freeze_ms=$2 started status elapsed_ms slowest
  (
    sleep "$(awk -v m="$freeze_ms" 'BEGIN { print m / 1000 }')"
    kill -STOP "$PULSE_PID"
  ) &
  local freezer=$!
  started=$(date +%s%N)
  timeout 20 "$tool" --end 2500 0:"$work/long.wav" 900:"$work/short.wav" 1500:"$work/long.wav" \
    1700:"$work/short.wav" >"$work/frozen.txt"
  status=$?
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  wait "$freezer"
  kill -CONT "$PULSE_PID"
  cat "$work/frozen.txt"
  check "frozen $name: the program still ends cleanly" "s == 0 && e < 6000" \
    s="$status" e="$elapsed_ms"
  slowest=$(awk '$1 == "play" && $4 > m { m = $4 } END { print m + 0 }' "$work/frozen.txt")
  # A call that waited on the frozen server would wait for as long as it stays frozen; a
  # busy machine may still hold up a call that does not for a scheduling slice or several.
  check "frozen $name: play() still returns at once (µs)" "m < 200000" m="$slowest"
}
frozen_run "before the first play" 0
frozen_run "while a clip sounds" 1000

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
