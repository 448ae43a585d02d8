#!/usr/bin/env bash
# Hangul typed through ibus with its Hangul engine (dubeolsik): the pre-edit reaches the panel that takes
# composed text as composition updates with the caret after the syllable, the finished syllables arrive as
# characters once the composition has been emptied, the candidate window opens at the caret the panel reports,
# a syllable pending when the focus moves to a widget without composition is not typed into that widget,
# and one pending when the window loses the focus is kept by the panel that typed it.
# Exits 77 (skipped) when ibus or its Hangul engine is not installed or does not start here.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_ibus_hangul

start_probe --ime
trap 'kill "$probe_pid" 2>/dev/null || true; ibus exit > /dev/null 2>&1 || true' EXIT
wait_for_line '^main paint 300x300$'
wait_for_line '^side paint 100x300$'
main=$(window_id "Probe Main")
[[ -n "$main" ]] || fail "no main window"
xdotool windowfocus --sync "$main"

# ime_lines FROM: the composition and character lines after the first FROM of them.
ime_lines() { grep -E '^(main|side) (ime|char) ' "$probe_trace" | tail -n "+$(($1 + 1))"; }
ime_count() { count_lines '^(main|side) (ime|char) '; }

# expect_lines FROM EXPECTED...: waits until the lines after FROM are exactly the expected ones.
expect_lines() {
  local from=$1 want
  shift
  want=$(printf '%s\n' "$@")
  local deadline=$((SECONDS + 10))
  until [[ "$(ime_lines "$from")" == "$want" ]]; do
    if ((SECONDS >= deadline)); then
      fail "composition lines differ; expected:"$'\n'"$want"$'\n'"got:"$'\n'"$(ime_lines "$from")"
    fi
    sleep 0.05
  done
}

# The input method's context for the window is made after it gains the focus, and keys before that go
# past it: g is typed, one at a time, until it starts a composition (ㅎ), and BackSpace takes that back.
deadline=$((SECONDS + 10))
until (($(count_lines "^main ime updated 'ㅎ' ") > 0)); do
  ((SECONDS < deadline)) || fail "typing never reached the input method"
  before=$(count_lines "^main (char g|ime updated 'ㅎ' )")
  xdotool key g
  until (($(count_lines "^main (char g|ime updated 'ㅎ' )") > before)); do
    ((SECONDS < deadline)) || fail "g typed nothing"
    sleep 0.05
  done
done
from=$(ime_count)
xdotool key BackSpace
expect_lines "$from" "main ime updated '' caret 0 attrs " "main ime ended '' caret 0 attrs "

# The lines of typing 한 (g k s) in the main panel.
han=("main ime started '' caret 0 attrs " "main ime updated 'ㅎ' caret 1 attrs 1" "main ime updated '하' caret 1 attrs 1"
  "main ime updated '한' caret 1 attrs 1")

# 한글 is g k s r m f; typing the next syllable's first letter ends the one before, and Space ends the
# last (then types itself).
from=$(ime_count)
xdotool key g k s r m f space
expect_lines "$from" "${han[@]}" \
  "main ime updated '' caret 0 attrs " \
  "main ime ended '' caret 0 attrs " \
  "main char U+D55C" \
  "main ime started '' caret 0 attrs " \
  "main ime updated 'ㄱ' caret 1 attrs 1" \
  "main ime updated '그' caret 1 attrs 1" \
  "main ime updated '글' caret 1 attrs 1" \
  "main ime updated '' caret 0 attrs " \
  "main ime ended '' caret 0 attrs " \
  "main char U+AE00" \
  "main char  "

# The Hanja key opens the candidate list for 한 below the caret the panel reports: window (100, 100) plus
# caret (130, 40), 20 high. Choosing the first candidate commits 韓.
from=$(ime_count)
xdotool key g k s
expect_lines "$from" "${han[@]}"
xdotool key F9
candidates=$(timeout 10 xdotool search --sync --onlyvisible --name '^ibus-ui-gtk3$' | head -n1) ||
  fail "no candidate window"
geometry=$(xdotool getwindowgeometry "$candidates" | grep -o 'Position: [0-9]*,[0-9]*')
[[ "$geometry" == "Position: 230,160" ]] || fail "the candidate window is at '$geometry', expected 230,160"
xdotool key 1
wait_for_line '^main char U\+97D3$'

# A pending syllable when a click moves the focus to the side panel goes to neither panel; the side panel
# then types plain letters.
from=$(ime_count)
xdotool key g k s
expect_lines "$from" "${han[@]}"
xdotool mousemove --window "$main" 350 100 click 1
wait_for_line '^side pointer up 50 100 button 1$'
xdotool key a
expect_lines "$from" "${han[@]}" "side char a"

# A pending syllable when the window loses the focus stays with the panel that typed it.
xdotool mousemove --window "$main" 100 100 click 1
wait_for_line '^main pointer up 100 100 button 1$'
# The composition is emptied before the syllable arrives, so a text field cannot take it twice.
from=$(ime_count)
xdotool key g k s
expect_lines "$from" "${han[@]}"
# The focus goes to the root window with the pointer outside ours (over it, X would keep the window focused).
xdotool mousemove 1500 900
xdotool windowfocus --sync "$(xdotool search --maxdepth 0 --name '' | head -n1)"
expect_lines "$from" "${han[@]}" \
  "main ime updated '' caret 0 attrs " \
  "main char U+D55C" \
  "main ime updated '' caret 0 attrs " \
  "main ime ended '' caret 0 attrs "

xdotool windowfocus --sync "$main"
xdotool key ctrl+q
wait_for_exit
