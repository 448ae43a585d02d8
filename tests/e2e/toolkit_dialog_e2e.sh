#!/usr/bin/env bash
# A modal dialog blocks its owner: while it runs, clicks and keys sent to the main window reach nothing;
# Escape ends it with result 2, and the main window takes input again.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_probe
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")
xdotool windowfocus --sync "$main"
xdotool key d
wait_for_line '^dialog open$'
wait_for_line '^dialog paint 240x120$'
dialog=$(window_id "Probe Dialog")
[[ -n "$dialog" ]] || fail "no dialog window"

# The dialog lies over the middle of the owner; the owner's top-left corner stays uncovered.
read -r mx my < <(xdotool getwindowgeometry "$main" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
read -r dx dy < <(xdotool getwindowgeometry "$dialog" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
((dx > mx && dy > my)) || fail "dialog at $dx,$dy is not over the owner at $mx,$my"

xdotool mousemove --window "$main" 5 5 click 1
xdotool windowfocus --sync "$main"
xdotool key x
# The dialog itself still takes input; its line proves the events above were processed before it.
xdotool windowfocus --sync "$dialog"
xdotool mousemove --window "$dialog" 12 14 click 1
wait_for_line '^dialog pointer down 12 14 button 1 clicks 1$'
xdotool key Escape
wait_for_line '^dialog result 2$'
during=$(sed -n '/^dialog open$/,/^dialog result/p' "$probe_trace" | grep -cE '^main (pointer|key|char|wheel)' || true)
[[ $during == 0 ]] || fail "the owner received input while the dialog ran"

# The keyboard is back with the owner without focusing it by hand (the pointer is away from it, so the
# key cannot reach it through a pointer-root focus either).
xdotool mousemove 1500 950
xdotool key k
wait_for_line '^main key K 0$'
xdotool mousemove --window "$main" 5 5 click 1
wait_for_line '^main pointer down 5 5 button 1 clicks 1$'
xdotool key q
wait_for_exit
