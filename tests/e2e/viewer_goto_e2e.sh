#!/usr/bin/env bash
# Go to number from the keyboard: in a folder of twelve pictures, Ctrl+G opens the dialog with the current
# number selected, a typed number and Enter show that picture, and Escape leaves the position alone.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"

folder="$QUARLO_E2E_WORK/twelve"
mkdir -p "$folder"
for i in $(seq -w 1 12); do cp "$samples/1.png" "$folder/$i.png"; done

start_viewer "$folder"
wait_for_line '^show 1/12 01\.png$'
window=$(timeout 10 xdotool search --sync --onlyvisible --name 'QuarloView$' | head -n1)
[[ -n "$window" ]] || fail "no viewer window"
xdotool windowfocus --sync "$window"

xdotool key ctrl+g
wait_for_line '^command GoTo$'
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^번호로 이동$|^Go to number$' | head -n1)
[[ -n "$dialog" ]] || fail "no Go to number dialog"
# Without a window manager the new window is not given the keyboard by itself.
xdotool windowfocus --sync "$dialog"
xdotool type --delay 30 '7'
xdotool key Return
wait_for_line '^show 7/12 07\.png$'

# Escape: the dialog closes and the picture stays.
xdotool windowfocus --sync "$window"
xdotool key ctrl+g
wait_for_count '^command GoTo$' 2
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^번호로 이동$|^Go to number$' | head -n1)
[[ -n "$dialog" ]] || fail "no dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 30 '3'
xdotool key Escape
forward Next
wait_for_line '^show 8/12 08\.png$'

quit_viewer
