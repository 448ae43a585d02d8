#!/usr/bin/env bash
# The viewer's chrome in a real session: the bars hide two seconds after the pointer last moved and come
# back on a move, a notice is traced, the Open dialog (GTK's own chooser) opens the file typed into it, and a
# folder dragged from another program onto the window opens with its "drop" line.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"
# No portal on the bus: the chooser is GTK's own dialog.
unset GTK_USE_PORTAL

start_viewer "$samples"
wait_for_line '^show 1/5 1\.png$'
window=$(window_id "1.png - QuarloView")
[[ -n "$window" ]] || fail "no viewer window"
read -r wx wy < <(xdotool getwindowgeometry "$window" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')

# Unpinned bars go when the pointer rests and return when it moves over the picture.
wait_for_line '^bars hidden$' 5
xdotool mousemove $((wx + 400)) $((wy + 300))
sleep 0.1
xdotool mousemove $((wx + 420)) $((wy + 310))
wait_for_line '^bars shown$'
wait_for_count '^bars hidden$' 2

forward ZoomIn
wait_for_line '^notice [0-9]+%$'

# A dialog sized to its content is centred over the viewer by that size, not by the one it was made with.
forward ShortcutList
dialog=$(window_id "Keyboard shortcuts")
[[ -n "$dialog" ]] || fail "no shortcut list"
geometry() { xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, p, ",")} /Geometry/ {split($2, s, "x")}
  END {print p[1], p[2], s[1], s[2]}'; }
read -r vx vy vw vh < <(geometry "$window")
read -r dx dy dw dh < <(geometry "$dialog")
(( (2 * dx + dw) - (2 * vx + vw) <= 2 && (2 * vx + vw) - (2 * dx + dw) <= 2 &&
   (2 * dy + dh) - (2 * vy + vh) <= 2 && (2 * vy + vh) - (2 * dy + dh) <= 2 )) ||
  fail "the shortcut list ${dw}x${dh} at $dx,$dy is not centred over the viewer ${vw}x${vh} at $vx,$vy"
xdotool windowfocus --sync "$dialog" key Escape
wait_for_gone() { for _ in $(seq 1 100); do xdotool search --name "$1" >/dev/null 2>&1 || return 0; sleep 0.05; done; return 1; }
wait_for_gone "Keyboard shortcuts" || fail "Escape did not close the shortcut list"

# Open: the chooser titled as the viewer asks, the path typed into its location box (Ctrl+L).
forward Open
chooser=$(window_id "Open an image or an archive")
[[ -n "$chooser" ]] || fail "no Open dialog"
xdotool windowfocus --sync "$chooser" key ctrl+l
sleep 0.3
xdotool type --delay 5 "$samples/10.png"
sleep 1
xdotool key Return
wait_for_line "^open $samples/10\.png items=5 start=2\$" 15
wait_for_line '^show 3/5 10\.png$'

# A drag from another program: the folder is the first path, so it is the one opened.
pictures="$QUARLO_E2E_WORK/dropped"
mkdir -p "$pictures"
cp "$samples/1.png" "$samples/2.jpg" "$pictures/"
"$QUARLO_TEST_BIN/drag_source" 800 150 "file://$pictures" "file://$samples/10.png" \
  > "$QUARLO_E2E_WORK/source.log" 2>&1 &
source_pid=$!
trap 'kill "$probe_pid" 2>/dev/null || true; kill "$source_pid" 2>/dev/null || true' EXIT
source_window=$(window_id "Drag Source")
[[ -n "$source_window" ]] || fail "no drag source window"
read -r wx wy < <(xdotool getwindowgeometry "$window" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
drag_to "$source_window" $((wx + 410)) $((wy + 310))
wait_for_line "^drop $pictures\$"
wait_for_line "^open $pictures items=2 start=0\$"
grep -q "^drop $samples/10.png\$" "$probe_trace" && fail "a second dropped path was opened too"
kill "$source_pid" 2>/dev/null || true

quit_viewer
