#!/usr/bin/env bash
# The image list in the running viewer: Enter shows it, a tile chosen with the keyboard or a double click
# shows its picture and hides the list, Esc hides it, and re-sorting keeps the shown picture.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"

# The samples in natural order: 1.png, 2.jpg, 10.png, alpha.png, animated.gif.
start_viewer "$samples"
wait_for_line '^show 1/5 1\.png$'
window=$(timeout 10 xdotool search --sync --onlyvisible --name 'QuarloView$' | head -n1)
[[ -n "$window" ]] || fail "no viewer window"
xdotool windowfocus --sync "$window"

# Keyboard: Enter opens the list on the current tile, Right and Enter choose the next one.
xdotool key Return
wait_for_line '^list shown$'
xdotool key Right Return
wait_for_line '^list hidden$'
wait_for_line '^show 2/5 2\.jpg$'

# Esc hides the list again.
forward ShowList
wait_for_count '^list shown$' 2
xdotool key Escape
wait_for_count '^list hidden$' 2

# A double click on the third tile of the first row (tiles are 176 DIPs wide, the row is centred).
forward ShowList
wait_for_count '^list shown$' 3
width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
columns=$((width / 176))
x=$(((width - columns * 176) / 2 + 2 * 176 + 88))
xdotool mousemove --window "$window" "$x" 120 click --repeat 2 --delay 80 1
wait_for_count '^list hidden$' 3
wait_for_line '^show 3/5 10\.png$'

# Sorting keeps the shown picture wherever it moves.
forward SortDescending
wait_for_count '^show 3/5 10\.png$' 2
forward SortSize
wait_for_line '^show 4/5 10\.png$'
forward Next
wait_for_line '^show 5/5 animated\.gif$'

quit_viewer
