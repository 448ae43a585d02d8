#!/usr/bin/env bash
# Forwarded commands and real key presses drive the running viewer: paging, full screen, rotation; a name
# that is no command is taken and does nothing; --quit ends it with "closed" and the hive holds the
# placement it recorded.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"

start_viewer "$samples"
wait_for_line '^show 1/5 1\.png$'

forward Next
wait_for_line '^show 2/5 2\.jpg$'
forward Previous
wait_for_count '^show 1/5 1\.png$' 2
forward RotateRight
wait_for_line '^command RotateRight$'
viewer --command NoSuchCommand || fail "an unknown command name was not taken"
wait_for_line '^instance command:NoSuchCommand$'
forward Fullscreen
wait_for_line '^fullscreen on$'
forward Fullscreen
wait_for_line '^fullscreen off$'

# Real key presses reach the focused window and run their default chords.
window=$(timeout 10 xdotool search --sync --onlyvisible --name 'QuarloView$' | head -n1)
[[ -n "$window" ]] || fail "no viewer window"
xdotool windowfocus --sync "$window"
xdotool key Right
wait_for_count '^show 2/5 2\.jpg$' 2
xdotool key End
wait_for_line '^show 5/5 animated\.gif$'
xdotool key F11
wait_for_count '^fullscreen on$' 2
xdotool key Escape
wait_for_count '^fullscreen off$' 2

quit_viewer
grep -q '"HasWindow" = dword 1' "$hive" || fail "the hive holds no placement: $(cat "$hive")"
grep -q '"WindowWidth" = dword [1-9]' "$hive" || fail "the hive holds no window width: $(cat "$hive")"
