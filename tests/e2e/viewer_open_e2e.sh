#!/usr/bin/env bash
# The viewer opens a folder, a picture inside a folder and a CBZ, and reports a missing path, a damaged
# archive and an empty folder in its message panel; each start ends through --quit with "closed".
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"
export QUARLO_VIEW_PARK_WINDOWS=1
mkdir -p "$QUARLO_E2E_WORK/empty"
printf 'not a zip archive' > "$QUARLO_E2E_WORK/broken.cbz"

# opens PATH LINE...: starts the viewer on PATH, waits for each trace line in turn, quits it.
opens() {
  local path=$1; shift
  : > "$probe_trace"
  start_viewer "$path"
  for line in "$@"; do wait_for_line "$line" 20; done
  quit_viewer
}

opens "$samples" "^open $samples items=5 start=0\$" '^show 1/5 1\.png$'
opens "$samples/2.jpg" "^open $samples/2.jpg items=5 start=1\$" '^show 2/5 2\.jpg$'
opens "$samples/comic.cbz" "^open $samples/comic.cbz items=[0-9]+ start=0\$" '^show 1/[0-9]+ '
opens "$QUARLO_E2E_WORK/gone.jpg" "^open $QUARLO_E2E_WORK/gone.jpg failed\$" \
  "^message ‘gone.jpg’ cannot be opened\. \| ‘$QUARLO_E2E_WORK/gone.jpg’ was not found\."
opens "$QUARLO_E2E_WORK/broken.cbz" '^message ‘broken.cbz’ cannot be opened\. \| The archive is damaged or is not a ZIP file\.$'
opens "$QUARLO_E2E_WORK/empty" '^message ‘empty’ cannot be opened\. \| This folder has no images\.$'
