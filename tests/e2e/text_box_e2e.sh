#!/usr/bin/env bash
# Text boxes in a real window: ASCII and Hangul typed as characters, copying to and pasting from the
# desktop's clipboard (xclip reads what the box copied and offers what it pastes, with CR LF line breaks
# for a multi-line box), and the edit menu opened by a right click.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

# wait_for_clipboard EXPECTED [FILTER]: waits until the desktop's clipboard holds EXPECTED, read through the
# filter command when one is given (od shows line breaks).
wait_for_clipboard() {
  local expected=$1 filter=${2:-cat} deadline=$((SECONDS + 10))
  until [[ "$(xclip -o -selection clipboard 2>/dev/null | $filter)" == "$expected" ]]; do
    ((SECONDS < deadline)) || fail "the clipboard holds '$(xclip -o -selection clipboard 2>&1 | $filter)'"
    sleep 0.05
  done
}
crlf() { od -An -c | tr -s ' '; }

start_program text_probe
wait_for_line '^text probe ready$'
window=$(window_id "Text Probe")
[[ -n "$window" ]] || fail "no probe window"
xdotool windowfocus --sync "$window"

xdotool type --delay 30 'hello'
wait_for_line "^single text 'hello'$"
# xdotool types a character outside the keyboard's layout by remapping a spare key; two such characters in
# one call race the remapping, so each goes on its own.
xdotool type '한'
wait_for_line "^single text 'hello한'$"
xdotool type '글'
wait_for_line "^single text 'hello한글'$"
xdotool key BackSpace
wait_for_line "^single text 'hello한'$"

# Copy: the desktop's clipboard holds the selected text.
xdotool key ctrl+a ctrl+c
wait_for_clipboard 'hello한'

# Paste: text another program put there replaces the selection.
printf 'pasted' | xclip -i -selection clipboard
xdotool key ctrl+v
wait_for_line "^single text 'pasted'$"

# A multi-line box turns the pasted LF into its own break and copies CR LF.
xdotool mousemove --window "$window" 100 80 click 1
printf 'one\ntwo' | xclip -i -selection clipboard
xdotool key ctrl+v
wait_for_line "^multi text 'one\\\\ntwo'$"
xdotool key ctrl+a ctrl+c
wait_for_clipboard ' o n e \r \n t w o' crlf

# The edit menu by right click on the single-line box: Select All by its access key, then Delete.
xdotool mousemove --window "$window" 100 32 click 3
wait_for_line '^single menu open$'
xdotool key a
xdotool key Delete
wait_for_line "^single text ''$"

xdotool key ctrl+q
wait_for_exit
