#!/usr/bin/env bash
# Keys as the program expects them, typed through the X server: chords, the numeric pad with and without
# Num Lock, F-keys, Escape and the punctuation keys; the physical key at the US Z position and at the US
# bracket positions under the us, de and ru layouts; wheel notches; a drag whose capture holds outside the
# window. Each key is sent by its hardware keycode where the layout must not choose the key.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"

start_probe
wait_for_line '^main paint 400x300$'
main=$(window_id "Probe Main")
[[ -n "$main" ]] || fail "no main window"
xdotool windowfocus --sync "$main"

# Key lines other than those of the modifier keys a chord presses first.
key_lines='^main vk 0x([^1A5]|1[^012]|A[^0-5]|5[^BC])'

# send KEY: sends the key (xdotool key syntax) and prints the virtual-key line of its main key.
send() {
  local key=$1 before
  before=$(count_lines "$key_lines")
  xdotool key "$key"
  local deadline=$((SECONDS + 10))
  until (($(count_lines "$key_lines") > before)); do
    ((SECONDS < deadline)) || fail "no key line for '$key'"
    sleep 0.05
  done
  grep -E "$key_lines" "$probe_trace" | sed -n "$((before + 1))p"
}

# press KEY EXPECTED: sends the key and checks its line.
press() {
  local got
  got=$(send "$1")
  [[ "$got" == "main vk $2" ]] || fail "key '$1' gave '$got', expected 'main vk $2'"
}

# Chords and named keys (mods: 1 Shift, 2 Ctrl, 4 Alt).
press ctrl+plus "0xBB mods 3 extended 0 repeat 0"
press ctrl+minus "0xBD mods 2 extended 0 repeat 0"
press F1 "0x70 mods 0 extended 0 repeat 0"
press F12 "0x7B mods 0 extended 0 repeat 0"
press Escape "0x1B mods 0 extended 0 repeat 0"
press Home "0x24 mods 0 extended 1 repeat 0"
press Delete "0x2E mods 0 extended 1 repeat 0"
# The punctuation keys by their US position: ; ' ` \ , . / = -
for pair in "47:0xBA" "48:0xDE" "49:0xC0" "51:0xDC" "59:0xBC" "60:0xBE" "61:0xBF" "21:0xBB" "20:0xBD"; do
  press "${pair%%:*}" "${pair#*:} mods 0 extended 0 repeat 0"
done

# The numeric pad: keycode 87 is keypad 1, 91 keypad decimal, 106 keypad divide, 104 keypad enter.
# The server's Num Lock state is unknown at the start: keypad 1 tells it (End without Num Lock).
[[ $(send 87) == "main vk 0x61 "* ]] || send Num_Lock > /dev/null
press 87 "0x61 mods 0 extended 0 repeat 0"
press 91 "0x6E mods 0 extended 0 repeat 0"
press 106 "0x6F mods 0 extended 1 repeat 0"
press 104 "0x0D mods 0 extended 1 repeat 0"
xdotool key Num_Lock
press 87 "0x23 mods 0 extended 0 repeat 0"
press 91 "0x2E mods 0 extended 0 repeat 0"
xdotool key Num_Lock

# Layouts: the key at the US Z position (keycode 52) and the bracket keys (34, 35).
for layout in us:0x5A de:0x59 ru:0x5A; do
  setxkbmap -layout "${layout%%:*}"
  # The keymap change reaches the window before the next key (GTK re-reads the keymap on its notify).
  sleep 0.3
  press 52 "${layout#*:} mods 0 extended 0 repeat 0"
  press 34 "0xDB mods 0 extended 0 repeat 0"
  press 35 "0xDD mods 0 extended 0 repeat 0"
done
setxkbmap -layout us

# A held key repeats (the server's auto-repeat): the presses after the first are flagged.
before=$(count_lines '^main vk 0x42 ')
xdotool keydown b
sleep 1
xdotool keyup b
deadline=$((SECONDS + 10))
until (($(count_lines '^main vk 0x42 ') >= before + 2)); do
  ((SECONDS < deadline)) || fail "no repeated key"
  sleep 0.05
done
[[ $(grep -E '^main vk 0x42 ' "$probe_trace" | tail -n1) == "main vk 0x42 mods 0 extended 0 repeat 1" ]] ||
  fail "the second press was not flagged as a repeat"

# Wheel notches.
xdotool mousemove --window "$main" 100 100
xdotool click 4
wait_for_line '^main wheel 1$'
xdotool click 5
wait_for_line '^main wheel -1$'

# A drag that leaves the window: the panel that took the press keeps the pointer until the release.
xdotool mousemove --window "$main" 50 60 mousedown 1
wait_for_line '^main pointer down 50 60 button 1 clicks 1$'
xdotool mousemove --window "$main" 520 380
wait_for_line '^main drag 520 380$'
xdotool mouseup 1
wait_for_line '^main pointer up 520 380 button 1$'

xdotool key c
xdotool key c
wait_for_exit
