#!/usr/bin/env bash
# Paging past either end of the list with every end action, by forwarded commands and by real keys, in single,
# two-page right-to-left and webtoon layouts, over a tree of sibling folders with a ZIP among them; the slide
# show looping and ending. One viewer per group of settings, which go into the hive before it starts.
set -euo pipefail
source "$(dirname "$0")/viewer_lib.sh"

# The tree, in natural order: a (3 pictures), b.zip (2), c (2), d (no pictures), e (2).
tree="$QUARLO_E2E_WORK/tree"
mkdir -p "$tree"/{a,c,d,e}
for n in 1 2 3; do cp "$samples/1.png" "$tree/a/a$n.png"; done
for n in 1 2; do cp "$samples/2.jpg" "$tree/c/c$n.jpg"; cp "$samples/10.png" "$tree/e/e$n.png"; done
echo "no pictures" > "$tree/d/notes.txt"
(cd "$tree/a" && /usr/bin/python3 -m zipfile -c "$tree/b.zip" a1.png a2.png)

# settings NAME=DWORD...: the settings the next viewer starts with.
settings() {
  mkdir -p "$(dirname "$hive")"
  { echo 'QuarloView hive 1'
    echo '["Software\QuarloTest"]'
    local pair
    for pair in "$@"; do echo "\"${pair%%=*}\" = dword ${pair#*=}"; done
  } > "$hive"
}

# press KEY: a real key press in the focused viewer window (looked up once per viewer).
press() {
  if [[ -z ${window:-} ]]; then
    window=$(timeout 10 xdotool search --sync --onlyvisible --name 'QuarloView$' | head -n1)
    [[ -n "$window" ]] || fail "no viewer window"
  fi
  xdotool windowfocus --sync "$window" key "$1"
}

# group: clears the trace for the next group of settings.
group() {
  : > "$probe_trace"
  window=
}

# shows PATTERN COMMAND...: runs the command (forward or press) and waits for one more trace line matching
# PATTERN than there was before it (the start may show its first picture twice).
shows() {
  local pattern=$1 before
  shift
  before=$(count_lines "$pattern")
  "$@"
  wait_for_count "$pattern" $((before + 1))
}

# page_until PATTERN COMMAND...: pages with the command, a dozen times at most, until a trace line matches
# PATTERN (how many pages a strip takes depends on the window's size).
page_until() {
  local pattern=$1 _
  shift
  for _ in $(seq 1 12); do
    (($(count_lines "$pattern") > 0)) && return
    "$@"
    sleep 0.1
  done
  wait_for_line "$pattern"
}

# Stop: a notice at either end, the position stays. The slide show without loop ends at the last picture.
group
settings EndAction=0 SlideSeconds=1 SlideLoop=0
start_viewer "$tree/a"
wait_for_line '^show 1/3 a1\.png$'
shows '^notice This is the first image\.$' forward Previous
shows '^show 3/3 a3\.png$' press End
shows '^notice This is the last image\.$' press Right
shows '^show 1/3 a1\.png$' forward First
shows '^slideshow on$' forward Slideshow
wait_for_count '^show 3/3 a3\.png$' 2
wait_for_line '^slideshow off$' 5
quit_viewer
[[ $(grep '^show ' "$probe_trace" | tail -n1) == 'show 3/3 a3.png' ]] || fail "the slide show moved past the end"

# Go back to the first, two pages right to left: Left goes forward and Right back, both wrap around.
group
settings EndAction=1 PageMode=1 RightToLeft=1
start_viewer "$tree/c"
wait_for_line '^show 1/2 c1\.jpg$'
shows '^show 2/2 c2\.jpg$' press Right
shows '^show 1/2 c1\.jpg$' press Left
shows '^show 2/2 c2\.jpg$' forward Previous
shows '^show 1/2 c1\.jpg$' forward Next
quit_viewer

# Open the next folder, in the webtoon strip: paging runs down the strip, then into the ZIP beside a; back
# from the ZIP's top into a at its first picture; an empty sibling is reported and the list stays.
group
settings EndAction=2 PageMode=2
start_viewer "$tree/a"
wait_for_line '^show 1/3 a1\.png$'
page_until "^open $tree/b\.zip items=2 start=0$" press Right
shows "^open $tree/a items=3 start=0$" press Left
shows "^open $tree/b\.zip items=2 start=0$" forward NextFolder
shows "^open $tree/c items=2 start=0$" forward NextFolder
page_until "^open $tree/d " forward Next
wait_for_line "^message ‘d’ cannot be opened\. \| This folder has no images\.$"
shows '^show 1/2 c1\.jpg$' forward First
quit_viewer

# Ask: the end card at either end, renewed when paging on; Esc hides it; the slide show loops.
group
settings EndAction=3 SlideSeconds=1 SlideLoop=1
start_viewer "$tree/e"
wait_for_line '^show 1/2 e1\.png$'
shows '^end card first$' press Left
press Escape
shows '^show 2/2 e2\.png$' forward Last
shows '^end card last$' forward Next
shows '^end card last$' press Right
shows '^slideshow on$' forward Slideshow
shows '^show 1/2 e1\.png$' true
shows '^show 2/2 e2\.png$' true
shows '^slideshow off$' forward Slideshow
quit_viewer
