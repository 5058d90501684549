# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared by the desktop tests: a private temporary folder, the processes a test starts (each
# stopped by its PID when the test ends, however it ends), a private X server, and the
# environment the program runs in. Sourced, never run.

set -euo pipefail

CALC_TMP=$(mktemp -d "${TMPDIR:-/tmp}/calc-desktop.XXXXXX")
CALC_PIDS=()

# Running and not yet a zombie: an ended child answers kill -0 until it is waited for.
calc_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat%% *} != Z ]]
}

# The processes a process started, and theirs, by parent PID.
calc_descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        echo "$child"
        calc_descendants "$child"
    done
}

calc_stop() {
    local pid=$1
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        calc_alive "$pid" || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

calc_cleanup() {
    local status=$?
    local i pid tree
    # Newest first: the program goes before the servers it talks to. A server's own helpers
    # (the accessibility bus and registry) go with it.
    for ((i = ${#CALC_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${CALC_PIDS[i]}
        tree=$(calc_descendants "$pid")
        calc_stop "$pid"
        for pid in $tree; do
            calc_stop "$pid"
        done
    done
    rm -rf "$CALC_TMP"
    exit "$status"
}
trap calc_cleanup EXIT
trap 'exit 130' INT TERM HUP

calc_track() { CALC_PIDS+=("$1"); }

# Forgets a process the test has already seen end.
calc_untrack() {
    local kept=() pid
    for pid in "${CALC_PIDS[@]}"; do
        [[ $pid == "$1" ]] || kept+=("$pid")
    done
    CALC_PIDS=("${kept[@]}")
}

calc_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A tool or service this machine lacks: a failure in CI, where everything must be there, and a
# skip elsewhere.
calc_unavailable() {
    if [[ ${CI:-} == true ]]; then
        calc_fail "$* (required when CI=true)"
    fi
    echo "SKIP: $*" >&2
    exit 77
}

calc_need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || calc_unavailable "$tool is not installed"
    done
}

# Polls a command until it succeeds or the time (seconds) runs out.
calc_wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# A private X server; sets DISPLAY once it has said which display it took.
calc_start_xvfb() {
    calc_need Xvfb
    local fdfile=$CALC_TMP/xvfb-display
    : >"$fdfile"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x800x24 3>"$fdfile" \
        >"$CALC_TMP/xvfb.log" 2>&1 &
    calc_track $!
    local pid=$!
    calc_wait_for 20 grep -q '^[0-9]' "$fdfile" || {
        calc_alive "$pid" || calc_unavailable "Xvfb did not start: $(tail -3 "$CALC_TMP/xvfb.log")"
        calc_unavailable "Xvfb did not report its display"
    }
    DISPLAY=:$(head -1 "$fdfile")
    export DISPLAY
}

# Home, data, configuration and runtime folders of a user who has never run the program, and no
# way out to the machine's own session bus or sound server.
calc_private_user() {
    export HOME=$CALC_TMP/home
    export XDG_DATA_HOME=$HOME/.local/share
    export XDG_CONFIG_HOME=$HOME/.config
    export XDG_CACHE_HOME=$HOME/.cache
    export XDG_RUNTIME_DIR=$CALC_TMP/runtime
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
    export DBUS_SESSION_BUS_ADDRESS=${CALC_SESSION_BUS:-unix:path=$CALC_TMP/no-session-bus}
    # No sound server, and none started on the program's behalf.
    export PULSE_SERVER=unix:$CALC_TMP/no-sound-server
    printf 'autospawn = no\n' >"$CALC_TMP/pulse-client.conf"
    export PULSE_CLIENTCONFIG=$CALC_TMP/pulse-client.conf
    export LANG=C.UTF-8
    # A sanitizer build reports leaks of the libraries it starts; its own tests judge leaks.
    export ASAN_OPTIONS=detect_leaks=0
}

# The accessibility bus a screen reader listens on, started on the current session bus. Its
# launcher starts the bus and the registry as its own children.
calc_start_accessibility_bus() {
    local launcher=$1
    calc_need dbus-send
    "$launcher" --launch-immediately >"$CALC_TMP/at-spi.log" 2>&1 &
    calc_track $!
    local pid=$!
    calc_wait_for 20 calc_bus_has_owner org.a11y.Bus ||
        calc_unavailable "the accessibility bus did not start: $(tail -3 "$CALC_TMP/at-spi.log")"
    calc_alive "$pid" || calc_unavailable "at-spi-bus-launcher ended: $(tail -3 "$CALC_TMP/at-spi.log")"
}

calc_bus_has_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# Prints the id of a mapped window of the process once there is one.
calc_wait_for_window() {
    local pid=$1 seconds=$2
    local deadline=$((SECONDS + seconds)) ids
    while ((SECONDS < deadline)); do
        calc_alive "$pid" || return 1
        ids=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true)
        if [[ -n $ids ]]; then
            head -1 <<<"$ids"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Ends a process with SIGTERM, as a session ending would; sets CALC_STATUS to its exit status,
# or to "timeout". Not for a command substitution: only this shell can wait for its children.
# shellcheck disable=SC2034 # read by the scripts that source this file
calc_terminate() {
    local pid=$1
    kill -TERM "$pid"
    local deadline=$((SECONDS + 15))
    while calc_alive "$pid"; do
        if ((SECONDS >= deadline)); then
            CALC_STATUS=timeout
            return
        fi
        sleep 0.1
    done
    CALC_STATUS=0
    wait "$pid" || CALC_STATUS=$?
    calc_untrack "$pid"
}
