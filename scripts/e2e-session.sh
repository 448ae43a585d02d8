#!/usr/bin/env bash
# Runs one end-to-end test script inside a private X server and D-Bus session.
# Usage: e2e-session.sh TEST_SCRIPT [ARGS...]
# The test gets its own HOME and XDG folders (exported before the bus starts, because GTK writes into
# them) and a display number chosen by Xvfb itself, so parallel runs never collide. QUARLO_SESSION_SCREEN
# sets the screen's WIDTHxHEIGHTxDEPTH (default 1600x1000x24).
set -euo pipefail
test_script=$1; shift

work=$(mktemp -d "${TMPDIR:-/tmp}/quarlo-e2e.XXXXXX")
cleanup() {
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QUARLO_E2E_WORK="$work"

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 "${QUARLO_SESSION_SCREEN:-1600x1000x24}" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do
  [[ -s "$work/display" ]] && break
  sleep 0.05
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

dbus-run-session -- bash "$test_script" "$@"
