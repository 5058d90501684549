# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the audio test and the latency benchmark: a private PulseAudio with a null sink
# whose monitor can be recorded. Source it, then call pulse_start; cleanup is trapped.
#
# Everything runs in a fresh runtime folder, so a sound server of the machine's user (if
# any) is neither used nor disturbed. As root, PulseAudio runs in per-user mode here.

PULSE_PIDS=()
PULSE_RUNTIME=""

# A tool or service the test needs is missing: skipped (77), but a failure under CI.
unavailable() {
  echo "$1" >&2
  [[ "${CI:-}" == true ]] && exit 1
  exit 77
}

pulse_cleanup() {
  local pid
  for pid in "${PULSE_PIDS[@]}"; do
    kill -CONT "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  done
  if [[ -n "$PULSE_RUNTIME" ]]; then
    pulseaudio --kill 2>/dev/null || true
    for pid in "${PULSE_PIDS[@]}"; do
      wait "$pid" 2>/dev/null || true
    done
    rm -rf "$PULSE_RUNTIME"
  fi
}

# Starts the server and waits until it answers. Returns 1 when it does not come up.
pulse_start() {
  PULSE_RUNTIME=$(mktemp -d)
  export XDG_RUNTIME_DIR="$PULSE_RUNTIME" PULSE_RUNTIME_PATH="$PULSE_RUNTIME/pulse"
  export HOME="$PULSE_RUNTIME"
  unset PULSE_SERVER
  cat >"$PULSE_RUNTIME/null-sink.pa" <<'CONF'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=null
set-default-sink null
CONF
  pulseaudio -n -F "$PULSE_RUNTIME/null-sink.pa" --exit-idle-time=-1 --daemonize=no \
    >"$PULSE_RUNTIME/pulseaudio.log" 2>&1 &
  PULSE_PID=$!
  PULSE_PIDS+=("$PULSE_PID")
  local i
  for i in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      return 0
    fi
    kill -0 "$PULSE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "PulseAudio did not start:" >&2
  tail -5 "$PULSE_RUNTIME/pulseaudio.log" >&2 || true
  return 1
}

# Records the null sink's monitor into a WAV file. Returns once the file grows: an idle
# null sink hands out audio in blocks of two seconds, and sound played before the
# recording runs would be lost.
capture_start() {
  CAPTURE_FILE=$1
  # Without a short latency parecord records only zeros from the monitor.
  parecord --latency-msec=10 -d null.monitor --file-format=wav "$CAPTURE_FILE" &
  CAPTURE_PID=$!
  PULSE_PIDS+=("$CAPTURE_PID")
  local i size
  for i in $(seq 100); do
    size=$(stat -c %s "$CAPTURE_FILE" 2>/dev/null || echo 0)
    if ((size > 8192)); then
      return 0
    fi
    sleep 0.05
  done
  echo "the recording did not start" >&2
  return 1
}

capture_stop() {
  kill -INT "$CAPTURE_PID" 2>/dev/null || true
  wait "$CAPTURE_PID" 2>/dev/null || true
}
