#!/usr/bin/env bash
# The viewer starts, writes its first trace line and ends cleanly.
set -euo pipefail
trace="$QUARLO_E2E_WORK/trace.txt"
export QUARLO_VIEW_SETTINGS_KEY='Software\QuarloTest' QUARLO_VIEW_TRACE="$trace" QUARLO_VIEW_INSTANCE="e2e-$$"
export ASAN_OPTIONS=detect_leaks=0

"$QUARLO_BIN/quarloview" "$QUARLO_SOURCE_DIR/samples"
grep -qx "started" "$trace" || { echo "no 'started' line in the trace:"; cat "$trace"; exit 1; }
