#!/usr/bin/env bash
# The instance link: --quit and --command need test mode and a running instance; a second start with
# SingleWindow on hands its path to the running viewer and exits 0; a start under another instance name
# opens a window of its own and is not reached by the first one's requests.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"
export QUARLO_VIEW_PARK_WINDOWS=1

expect_exit() {
  local expected=$1; shift
  local status=0
  "$@" >> "$QUARLO_E2E_WORK/probe.log" 2>&1 || status=$?
  ((status == expected)) || fail "'$*' exited with $status, expected $expected"
}

expect_exit 1 "$QUARLO_BIN/quarloview" --quit
expect_exit 1 env -u QUARLO_VIEW_SETTINGS_KEY "$QUARLO_BIN/quarloview" --quit
expect_exit 1 "$QUARLO_BIN/quarloview" --installer-associate

start_viewer "$samples"
wait_for_line '^show 1/5 1\.png$'
expect_exit 0 "$QUARLO_BIN/quarloview" "$samples/10.png"
wait_for_line "^instance open:$samples/10\.png\$"
wait_for_line '^show 3/5 10\.png$'
(($(count_lines '^started$') == 1)) || fail "the second start opened a window of its own"

# Another instance name: its own window, its own trace, untouched by the first instance's --quit.
other_trace="$QUARLO_E2E_WORK/other-trace.txt"
QUARLO_VIEW_INSTANCE="other-$$" QUARLO_VIEW_TRACE="$other_trace" "$QUARLO_BIN/quarloview" "$samples" \
  >> "$QUARLO_E2E_WORK/probe.log" 2>&1 &
other_pid=$!
trap 'kill "$probe_pid" "$other_pid" 2>/dev/null || true' EXIT
deadline=$((SECONDS + 20))
until grep -qx 'show 1/5 1.png' "$other_trace" 2>/dev/null; do
  ((SECONDS < deadline)) || fail "the other instance did not show its first picture"
  sleep 0.05
done
quit_viewer
kill -0 "$other_pid" 2>/dev/null || fail "the first instance's --quit ended the other one"
expect_exit 0 env QUARLO_VIEW_INSTANCE="other-$$" "$QUARLO_BIN/quarloview" --quit
wait "$other_pid" || fail "the other instance exited with $?"
grep -qx 'closed' "$other_trace" || fail "the other instance did not close"
