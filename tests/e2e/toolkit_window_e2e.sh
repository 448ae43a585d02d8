#!/usr/bin/env bash
# A toolkit window opens and paints, lays out again at a new size, runs a task posted from another thread
# on the user-interface thread, fires a host timer, runs an animation to its end, receives clicks and keys,
# goes full screen and back, and quits with exit code 0.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_probe
wait_for_line '^initialize again kept the first options$'
wait_for_line '^main paint 400x300$'
wait_for_line '^posted task ran on ui thread$'
wait_for_line '^timer fired$'
wait_for_line '^animation finished$'
main=$(window_id "Probe Main")
[[ -n "$main" ]] || fail "no main window"

xdotool windowsize --sync "$main" 600 420
wait_for_line '^main layout 600x420$'
wait_for_line '^main paint 600x420$'

xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 30 40 click 1
wait_for_line '^main pointer down 30 40 button 1 clicks 1$'
xdotool click --repeat 2 --delay 80 1
wait_for_line '^main pointer down 30 40 button 1 clicks 2$'
xdotool click 4
wait_for_line '^main wheel 1$'
xdotool click 5
wait_for_line '^main wheel -1$'
xdotool key a
wait_for_line '^main key A 0$'
wait_for_line '^main char a$'
xdotool key ctrl+shift+F5
wait_for_line '^main key F5 3$'
# Full screen without a window manager: the window covers the whole 1600x1000 screen, then comes back.
xdotool key f
wait_for_line '^fullscreen on$'
wait_for_line '^main layout 1600x1000$'
xdotool key f
wait_for_line '^fullscreen off$'
wait_for_line '^main layout 600x420$' 
[[ $(count_lines '^main layout 600x420$') == 2 ]] || fail "the window did not return to its size"
# Closing: the close query refuses the first request; the second destroys the window, which quits.
xdotool key c
wait_for_line '^close refused$'
xdotool key c
wait_for_line '^close accepted$'
wait_for_exit
wait_for_line '^main destroyed$'
wait_for_line '^quit$'
