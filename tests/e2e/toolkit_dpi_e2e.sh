#!/usr/bin/env bash
# The window's DPI is the desktop's font resolution times its scale factor: with GDK_SCALE=2 and
# GDK_DPI_SCALE=0.75 (resolution 72) it is 144, a 400x300 DIP window has 600x450 device pixels, and a
# click at device pixel (60,90) arrives at DIP (40,60).
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"
export GDK_SCALE=2 GDK_DPI_SCALE=0.75

start_probe
wait_for_line '^main dpi 144$'
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")
size=$(xdotool getwindowgeometry "$main" | awk '/Geometry/ {print $2}')
[[ $size == "600x450" ]] || fail "the window has $size device pixels"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 90 click 1
wait_for_line '^main pointer down 40 60 button 1 clicks 1$'
xdotool key q
wait_for_exit
