#!/usr/bin/env bash
# With QUARLO_VIEW_PARK_WINDOWS=1 a window is placed far off screen (-30000,100), yet it is mapped and
# painted, and it is not given the focus.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"
export QUARLO_VIEW_PARK_WINDOWS=1

start_probe
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")
[[ -n "$main" ]] || fail "no main window"
position=$(xdotool getwindowgeometry "$main" | awk '/Position/ {print $2}')
[[ $position == "-30000,100" ]] || fail "the parked window is at $position"
# With nothing focused X reports PointerRoot, which xdotool refuses; that counts as not focused.
focused=$(xdotool getwindowfocus 2>/dev/null || echo none)
[[ $focused != "$main" ]] || fail "the parked window took the focus"
# A dialog of a parked window stays parked too (it would otherwise be centred into the work area).
xdotool windowfocus --sync "$main"
xdotool key d
wait_for_line '^dialog paint 240x120$'
dialog=$(window_id "Probe Dialog")
position=$(xdotool getwindowgeometry "$dialog" | awk '/Position/ {print $2}')
[[ $position == "-30000,100" ]] || fail "the parked window's dialog is at $position"
kill "$probe_pid"

