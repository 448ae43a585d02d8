#!/usr/bin/env bash
# The dialog helpers in a real session: a question answered by Tab and Enter, by Escape and by an access key,
# the error message closed with Enter, GTK's own Open dialog choosing a file typed into its location box,
# files dragged from another program onto the window reaching the drop callback on the user-interface
# thread (a web address among them left out), and the message and question dialogs pictured in both
# languages, themes and scales (copied to kit-shots beside the test programs for people to look at).
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

pictures="$QUARLO_E2E_WORK/pictures"
mkdir -p "$pictures/album one"
: > "$pictures/sunset beach.jpg"
# GTK_USE_PORTAL unset and no portal on the bus: the chooser is GTK's own dialog.
unset GTK_USE_PORTAL

"$QUARLO_TEST_BIN/kit_probe" > "$QUARLO_E2E_WORK/probe.log" 2>&1 &
probe_pid=$!
trap 'kill "$probe_pid" 2>/dev/null || true; kill "${source_pid:-}" 2>/dev/null || true' EXIT
wait_for_line '^main ready$'
grep -qx 'drop target registered' "$probe_trace" || fail "the drop target was not registered"
main=$(window_id "Kit Main")

# ask KEYS... : opens the question, sends the keys to it and waits for its answer to be traced.
ask() {
  local before
  before=$(count_lines '^question result')
  xdotool windowfocus --sync "$main" key a
  local dialog
  dialog=$(window_id "Delete")
  [[ -n "$dialog" ]] || fail "no question dialog"
  xdotool windowfocus --sync "$dialog" key "$@"
  local deadline=$((SECONDS + 10))
  until (($(count_lines '^question result') > before)); do
    ((SECONDS < deadline)) || fail "the question did not end after $*"
    sleep 0.05
  done
}
ask Tab Return
ask Escape
ask alt+m
[[ $(grep '^question result' "$probe_trace" | tr '\n' ' ') == "question result 1 question result 2 question result 0 " ]] \
  || fail "unexpected answers"

# The message dialog is tall enough for its three lines of text and its button.
xdotool windowfocus --sync "$main" key m
message=$(window_id "QuarloView")
height=$(xdotool getwindowgeometry "$message" | awk '/Geometry/ {split($2, s, "x"); print s[2]}')
((height > 120)) || fail "the message dialog is only $height pixels tall"
xdotool windowfocus --sync "$message" key Return
wait_for_line '^message closed$'

# Open: GTK's chooser, the path typed into its location box (Ctrl+L).
xdotool windowfocus --sync "$main" key o
chooser=$(window_id "Open Picture")
[[ -n "$chooser" ]] || fail "no Open dialog"
# The chooser's location box completes what is typed in the background; Return waits until it has caught up
# (there is nothing to observe from outside, hence the pauses).
xdotool windowfocus --sync "$chooser" key ctrl+l
sleep 0.3
xdotool type --delay 5 "$pictures/sunset beach.jpg"
sleep 1
xdotool key Return
wait_for_line "^picked $pictures/sunset beach.jpg\$" 15
# Escape in the folder chooser is a cancel.
xdotool windowfocus --sync "$main" key f
folders=$(window_id "Choose Folder")
xdotool windowfocus --sync "$folders" key Escape
wait_for_line '^pick cancelled$'

# A drag from another program: a folder, a web address and a file with an escaped space.
"$QUARLO_TEST_BIN/drag_source" 800 150 "file://$pictures/album%20one" "https://example.com/remote.jpg" \
  "file://$pictures/sunset%20beach.jpg" > "$QUARLO_E2E_WORK/source.log" 2>&1 &
source_pid=$!
source_window=$(window_id "Drag Source")
[[ -n "$source_window" ]] || fail "no drag source window"
read -r mx my < <(xdotool getwindowgeometry "$main" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
drag_to "$source_window" $((mx + 260)) $((my + 190))
wait_for_line "^drop $pictures/sunset beach.jpg\$"
drops=$(sed -n '/^drop on ui thread$/,$p' "$probe_trace" | grep '^drop' | tr '\n' '|')
[[ $drops == "drop on ui thread|drop $pictures/album one|drop $pictures/sunset beach.jpg|" ]] \
  || fail "unexpected drop lines: $drops"
kill "$source_pid" 2>/dev/null || true

xdotool windowfocus --sync "$main" key q
wait_for_exit

# The pictures of the two dialogs.
shots="$QUARLO_E2E_WORK/shots"
: > "$probe_trace"
QUARLO_VIEW_SHOTS="$shots" QUARLO_VIEW_PARK_WINDOWS=1 timeout 60 "$QUARLO_TEST_BIN/kit_probe" \
  > "$QUARLO_E2E_WORK/probe.log" 2>&1 || fail "the shots run failed"
grep -qx 'shots written' "$probe_trace" || fail "the shots were not written"
for kind in question message; do
  for name in "kit-$kind-"{en,ko}-{light,dark}-{100,200}; do
    [[ $(head -c 8 "$shots/$name.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$name.png missing"
  done
done
rm -rf "$QUARLO_TEST_BIN/kit-shots"
cp -r "$shots" "$QUARLO_TEST_BIN/kit-shots"
