#!/usr/bin/env bash
# The viewer starts, writes "started" once its start path was handed to the window, and ends cleanly with
# exit code 0 when asked to quit.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"
export QUARLO_VIEW_PARK_WINDOWS=1

start_viewer "$samples"
[[ $(grep -nx 'started' "$probe_trace" | cut -d: -f1) -gt $(grep -n '^open ' "$probe_trace" | cut -d: -f1) ]] ||
  fail "'started' came before the start path was opened"
quit_viewer
