#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make-voice-pack on two recordings made with sox: a late, quiet 44.1 kHz stereo "wu" and a
# "dengyu" too long for the program. Both come out as clips the program takes.
#   make-voice-pack.sh <make-voice-pack>
set -euo pipefail
script=$1
command -v sox >/dev/null || { echo "sox is not available" >&2; exit 77; }
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
mkdir "$work/in"
sox -n -r 44100 -c 2 -b 16 "$work/in/wu.wav" synth 0.4 sine 600 vol 0.1 pad 0.5 0
sox -n -r 48000 -c 1 -b 16 "$work/in/dengyu.wav" synth 5 sine 300 vol 0.5

"$script" "$work/in" "$work/out" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }

fail() { echo "FAIL $*" >&2; cat "$work/log" >&2; exit 1; }
[[ $(ls "$work/out") == $'105.wav\n116.wav' ]] || fail "only the recorded clips are made"
[[ $(stat -c %a "$work/out") == 700 ]] || fail "the pack folder is private"
[[ "$(soxi -r "$work/out/105.wav") $(soxi -c "$work/out/105.wav") $(soxi -b "$work/out/105.wav")" == "22050 1 16" ]] ||
  fail "16-bit mono at 22,050 Hz"
length=$(soxi -D "$work/out/105.wav")
awk -v l="$length" 'BEGIN { exit !(l > 0.38 && l < 0.42) }' || fail "leading silence trimmed ($length s)"
peak=$(sox "$work/out/105.wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk -v p="$peak" 'BEGIN { exit !(p > 0.85 && p < 0.92) }' || fail "normalised to -1 dBFS ($peak)"
length=$(soxi -D "$work/out/116.wav")
awk -v l="$length" 'BEGIN { exit !(l <= 3.0) }' || fail "cut to 3 s ($length s)"
echo "make-voice-pack: 1 passed, 0 failed"
