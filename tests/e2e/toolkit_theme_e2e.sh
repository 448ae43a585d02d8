#!/usr/bin/env bash
# A window that follows the system theme turns dark when the desktop's colour scheme asks for it, and light
# again when it no longer does, without restarting.
set -euo pipefail
source "$(dirname "$0")/toolkit_lib.sh"
gsettings set org.gnome.desktop.interface color-scheme default

start_probe
wait_for_line '^main paint 400x300$'
gsettings set org.gnome.desktop.interface color-scheme prefer-dark
wait_for_line '^main theme dark$'
# The window took its light theme once at creation; the switch back adds a second line.
[[ $(count_lines '^main theme light$') == 1 ]] || fail "unexpected light theme lines"
gsettings set org.gnome.desktop.interface color-scheme default
deadline=$((SECONDS + 10))
until [[ $(count_lines '^main theme light$') == 2 ]]; do
  ((SECONDS < deadline)) || fail "the window did not turn light again"
  sleep 0.05
done
main=$(window_id "Probe Main")
xdotool windowfocus --sync "$main"
xdotool key q
wait_for_exit
