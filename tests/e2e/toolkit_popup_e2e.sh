#!/usr/bin/env bash
# A light-dismiss popup opens without taking the focus, takes clicks inside it, and closes on a click
# outside it; that click reaches no window. The next click reaches the main window again.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_probe
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")
xdotool windowfocus --sync "$main"
xdotool key p
wait_for_line '^popup open$'
wait_for_line '^popup paint 120x80$'

# Inside the popup (it sits at 20,20 of the main window's client area).
xdotool mousemove --window "$main" 40 50 click 1
wait_for_line '^popup pointer down 20 30 button 1 clicks 1$'
# Outside it, over the main window.
xdotool mousemove --window "$main" 300 250 click 1
wait_for_line '^popup closed$'
[[ $(count_lines '^main pointer down') == 0 ]] || fail "the dismissing click reached the main window"

xdotool mousemove --window "$main" 300 250 click 1
wait_for_line '^main pointer down 300 250 button 1 clicks 1$'
# Keys still go to the main window while a popup is open.
xdotool key p
wait_for_line '^popup open$'
xdotool key q
wait_for_exit
