#!/usr/bin/env bash
# The screenshot run shows the gallery window, the controls page, the viewer on the samples' first
# pictures and with its end card, and the image list over 500 copies of them, writes them as PNG (the viewer
# in both themes and languages, the controls in three themes at two scales, the info panel over the sample
# with camera data in both themes and languages at two scales) into the folder the switch names (creating
# it), and exits 0.
set -euo pipefail
shots="$QUARLO_E2E_WORK/shots/new"
trace="$QUARLO_E2E_WORK/trace.txt"
export QUARLO_VIEW_SHOTS="$shots" QUARLO_VIEW_TRACE="$trace" QUARLO_VIEW_PARK_WINDOWS=1 ASAN_OPTIONS=detect_leaks=0

timeout 60 "$QUARLO_BIN/quarloview" "$QUARLO_SOURCE_DIR/samples" || { echo "screenshot run failed with $?"; cat "$trace"; exit 1; }
grep -qx "shots gallery shown" "$trace" || { echo "the gallery window was not shown"; cat "$trace"; exit 1; }
grep -qx "shots controls written" "$trace" || { echo "the controls shots were not written"; cat "$trace"; exit 1; }
for name in gallery-light gallery-dark controls-{light,dark,contrast}-{100,200} viewer-1-en-light viewer-1-ko-dark viewer-3-en-dark \
  viewer-end-card-ko-light info-{en,ko}-{light,dark}-{100,200} list-light list-dark; do
  # The PNG signature, read with coreutils alone (a fresh system has no file(1)).
  [[ -f "$shots/$name.png" && $(head -c 8 "$shots/$name.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] \
    || { echo "$name.png missing or wrong"; ls -l "$shots"; exit 1; }
done
grep -qx "show 3/5 10.png" "$trace" || { echo "the viewer did not show the third sample"; cat "$trace"; exit 1; }
grep -qx "info 2/5 2.jpg" "$trace" || { echo "the info panel was not shown over the sample with camera data"; cat "$trace"; exit 1; }
grep -qx "open $shots/list-pictures items=500 start=0" "$trace" || { echo "the image list's folder was not opened"; cat "$trace"; exit 1; }
[[ ! -e "$shots/list-pictures" ]] || { echo "the image list's folder was left behind"; exit 1; }
# The two themes give different pictures.
! cmp -s "$shots/gallery-light.png" "$shots/gallery-dark.png" || { echo "light and dark shots are identical"; exit 1; }
