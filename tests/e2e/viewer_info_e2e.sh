#!/usr/bin/env bash
# The info panel through forwarded commands: ShowInfo shows it filled for the current picture, paging
# refreshes it, a second ShowInfo hides it and paging then leaves it alone.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"

start_viewer "$samples"
wait_for_line '^show 1/5 1\.png$'

forward ShowInfo
wait_for_line '^info shown$'
wait_for_line '^info 1/5 1\.png$'
forward Next
wait_for_line '^info 2/5 2\.jpg$'
forward ShowInfo
wait_for_line '^info hidden$'
forward Next
wait_for_line '^show 3/5 10\.png$'
quit_viewer
(($(count_lines "^info 3/5") == 0)) || fail "the hidden panel was refreshed"
