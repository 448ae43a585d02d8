#!/usr/bin/env bash
# Menus, tooltips and the combo box on a real X server: a menu opened by the keyboard and by a right click
# runs its item only after it has closed; a submenu of a menu at the screen's right edge opens to the left
# and stays on screen; a tooltip shows only after the pointer rested; a combo box chooses with the keyboard.
# With QUARLO_MENU_SHOTS naming a folder, screenshots of each in both themes are saved there.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

shots=${QUARLO_MENU_SHOTS:-}
# shot NAME: the whole screen as a PNG, when asked for and GDK's Python binding is there.
shot() {
  [[ -n $shots ]] || return 0
  mkdir -p "$shots"
  sleep 0.3
  /usr/bin/python3 - "$shots/$1.png" <<'PY' || true
import sys, gi
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk
root = Gdk.get_default_root_window()
Gdk.pixbuf_get_from_window(root, 0, 0, root.get_width(), root.get_height()).savev(sys.argv[1], "png", [], [])
PY
}

# geometry NAME INDEX: "x y width height" of the INDEX-th visible window with this title.
geometry() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | sed -n "$(($2 + 1))p")
  [[ -n $id ]] || fail "no visible window '$1' number $2"
  xdotool getwindowgeometry --shell "$id" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ {printf "%s ", $2}'
}
visible_count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

wait_for_windows() {
  local name=$1 count=$2 deadline=$((SECONDS + 10))
  until (($(visible_count "$name") == count)); do
    ((SECONDS < deadline)) || fail "expected $count visible '$name' windows"
    sleep 0.05
  done
}

# line_of PATTERN: the number of the first trace line that matches.
line_of() { grep -nE -- "$1" "$probe_trace" | head -n1 | cut -d: -f1; }

menu_round() {
  local theme=$1
  xdotool windowfocus --sync "$main"
  # From the keyboard: the first item is highlighted; Down moves to "Save a copy", Enter runs it.
  xdotool key m
  wait_for_line '^menu open keyboard$'
  wait_for_windows Menu 1
  shot "menu-keyboard-$theme"
  xdotool key Down Return
  wait_for_line '^menu invoked 2 checked 0$'
  (($(line_of '^menu closed$') < $(line_of '^menu invoked 2'))) || fail "the item ran before the menu closed"
  wait_for_windows Menu 0

  # By a right click, then a click on its first row.
  xdotool mousemove --window "$main" 200 150 click 3
  wait_for_line '^menu open pointer$'
  wait_for_windows Menu 1
  read -r mx my _ _ <<<"$(geometry Menu 0)"
  xdotool mousemove $((mx + 60)) $((my + 20)) click 1
  wait_for_line '^menu invoked 1 checked 0$'

  # At the screen's right edge: the root is pulled inside, the submenu opens to its left.
  xdotool key e
  wait_for_line '^menu open edge$'
  wait_for_windows Menu 1
  xdotool key Down Down Right
  wait_for_windows Menu 2
  read -r rx ry rw _ <<<"$(geometry Menu 0)"
  read -r sx sy sw _ <<<"$(geometry Menu 1)"
  # Which is which: the root is the one further right.
  if ((sx > rx)); then read -r rx ry rw sx sy sw <<<"$sx $sy $sw $rx $ry $rw"; fi
  local screen_width
  screen_width=$(xdotool getdisplaygeometry | cut -d' ' -f1)
  ((rx + rw <= screen_width)) || fail "the root menu passes the right edge: $rx+$rw > $screen_width"
  ((sx >= 0 && sx + sw <= rx)) || fail "the submenu is not left of its parent: $sx+$sw vs $rx"
  shot "menu-submenu-edge-$theme"
  xdotool key Escape
  wait_for_windows Menu 1
  xdotool key Escape
  wait_for_windows Menu 0
}

controls_round() {
  local theme=$1
  xdotool windowfocus --sync "$main"
  xdotool key w
  wait_for_line '^controls open$'
  controls=$(window_id "Probe Controls")
  xdotool windowfocus --sync "$controls"
  # The tooltip button is the third row of the page: 12 padding, a tool bar, 12 spacing, the combo box.
  read -r cx cy _ _ <<<"$(geometry "Probe Controls" 0)"
  xdotool mousemove $((cx + 300)) $((cy + 200))
  sleep 0.1
  xdotool mousemove $((cx + 60)) $((cy + 120))
  (($(visible_count Tooltip) == 0)) || fail "the tooltip showed before its delay"
  wait_for_windows Tooltip 1
  shot "tooltip-$theme"
  xdotool mousemove $((cx + 300)) $((cy + 200))
  wait_for_windows Tooltip 0

  # The combo box has the focus: Space opens it, Down twice and Enter choose "Banana".
  xdotool key space
  wait_for_windows ComboList 1
  xdotool key Down Down
  shot "combo-open-$theme"
  xdotool key Return
  wait_for_windows ComboList 0
  wait_for_line '^combo selected 2 Banana$'
  # Back to the first item for the next round.
  xdotool key Home
  wait_for_line '^combo selected 0 Apple$'
  shot "controls-$theme"
}

start_probe
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")

menu_round light
controls_round light

# The dark round only adds pictures to look at.
if [[ -n $shots ]]; then
  xdotool windowfocus --sync "$main"
  xdotool key t
  wait_for_line '^main theme dark$'
  : > "$probe_trace"
  menu_round dark
  controls_round dark
fi

xdotool windowfocus --sync "$main"
xdotool key q
wait_for_exit
