#!/usr/bin/env bash
# Hangul typed into a text box through ibus with its Hangul engine: the pre-edit is shown in place inside
# the text, finished syllables become text, and a syllable pending when a click moves the caret is committed
# once, by the box, while the input method forgets it.
# Exits 77 (skipped) when ibus or its Hangul engine is not installed or does not start here.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_ibus_hangul

start_program text_probe
trap 'kill "$probe_pid" 2>/dev/null || true; ibus exit > /dev/null 2>&1 || true' EXIT
wait_for_line '^text probe ready$'
window=$(window_id "Text Probe")
[[ -n "$window" ]] || fail "no probe window"
xdotool windowfocus --sync "$window"

# The input method's context is made once the window has the focus; keys before that go past it. g is
# typed until it starts a composition (ㅎ shown in place), then the box is emptied.
deadline=$((SECONDS + 10))
until grep -qE "^single display '.*ㅎ'$" "$probe_trace"; do
  ((SECONDS < deadline)) || fail "typing never reached the input method"
  before=$(count_lines '^single (text|display) ')
  xdotool key g
  until (($(count_lines '^single (text|display) ') > before)); do
    ((SECONDS < deadline)) || fail "g typed nothing"
    sleep 0.05
  done
done
xdotool key BackSpace
if (($(count_lines '^single text ') > 0)); then
  xdotool key ctrl+a Delete
  wait_for_line "^single text ''$"
fi

# 한글 is g k s r m f; Space ends the last syllable and types itself. The pre-edit shows inside the text.
from=$(count_lines '.')
xdotool key g k s r m f space
wait_for_line "^single text '한글 '$"
tail -n "+$((from + 1))" "$probe_trace" | grep -q "^single display '한'$" || fail "the pre-edit 한 was never shown"
tail -n "+$((from + 1))" "$probe_trace" | grep -q "^single display '한그'$" ||
  fail "the pre-edit 그 was not shown after the committed 한"

# A click at the end of the text while 한 is pending: the box commits it, and the input method starts
# afresh, so the next vowel composes on its own instead of joining a syllable the box already took.
xdotool key g k s
wait_for_line "^single display '한글 한'$"
xdotool mousemove --window "$window" 370 32 click 1
wait_for_line "^single text '한글 한'$"
xdotool key k space
wait_for_line "^single text '한글 한ㅏ '$"
grep -q "한글 한한\|한글 한하" "$probe_trace" && fail "the pending syllable was typed twice"

xdotool key ctrl+q
wait_for_exit
