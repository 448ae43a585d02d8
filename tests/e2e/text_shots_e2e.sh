#!/usr/bin/env bash
# Pictures of text fields and of the "Go to number" dialog: a text box with a selection and one with a
# pre-edit, and the dialog, each in both languages and both themes, written as PNG into the switch's folder.
set -euo pipefail
shots="$QUARLO_E2E_WORK/shots"
trace="$QUARLO_E2E_WORK/trace.txt"
export QUARLO_VIEW_SHOTS="$shots" QUARLO_VIEW_TRACE="$trace" ASAN_OPTIONS=detect_leaks=0

timeout 60 "$QUARLO_TEST_BIN/text_probe" || { echo "the picture run failed with $?"; cat "$trace"; exit 1; }
grep -qx "shots written" "$trace" || { echo "the run did not finish"; cat "$trace"; exit 1; }
for name in {text-selection,text-preedit,goto}-{en,ko}-{light,dark}; do
  [[ -f "$shots/$name.png" && $(head -c 8 "$shots/$name.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] \
    || { echo "$name.png missing or wrong"; ls -l "$shots"; exit 1; }
done
# The pre-edit is shown inside the text it is typed into.
grep -q "^multi display '첫째 줄.*둘째 줄에서 한글을 입력한'$" "$trace" || { echo "no pre-edit shown"; cat "$trace"; exit 1; }
! cmp -s "$shots/goto-en-light.png" "$shots/goto-ko-light.png" || { echo "both languages look the same"; exit 1; }
