#!/usr/bin/env bash
# Holding Next through a 300-page CBZ of 1500x2200 JPEGs: the Release viewer starts on it in a private X
# server, the probe holds the key with repeats at 25 per second for 5 seconds and releases it, and reads the
# pages back from the screen. Prints, as medians of the runs, the time from the release to the pixels of the
# page the viewer comes to rest on, how many distinct pages reached the screen, and whether the resting page
# is the one under the last press (every press paged once, none queued behind the release).
# Usage: bench/hold_next/run_hold_next.sh [--runs N] [--rate PER_SECOND] [--hold MS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build/bench"
runs=3 rate=25 hold=5000
pages=300 width=1500 height=2200

if [[ ${1:-} == --in-session ]]; then
  shift
  runs=$1 rate=$2 hold=$3 archive=$4
  results=()
  for ((run = 1; run <= runs; ++run)); do
    # Each run starts from nothing: no settings, no recent list, no instance to forward to.
    rm -rf "$XDG_CONFIG_HOME/quarloview"
    out=$("$build/bench/hold_next/hold_probe" --rate "$rate" --hold "$hold" -- "$build/app/quarloview" "$archive")
    echo "run $run: $(echo "$out" | tr '\n' ' ')"
    grep -q '^failed' <<< "$out" && exit 1
    results+=("$(awk '{ v[$1] = $2 } END { print v["settled"], v["shown"], v["last"], v["presses"] }' <<< "$out")")
  done
  median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
  settled=$(printf '%s\n' "${results[@]}" | awk '{ print $1 }' | median)
  shown=$(printf '%s\n' "${results[@]}" | awk '{ print $2 }' | median)
  echo "median of $runs runs: release to resting page on screen ${settled} ms; pages shown while paging ${shown}"
  printf '%s\n' "${results[@]}" | awk '{ printf "  rested on page %d after %d presses (%s)\n", $3, $4, ($3 == $4 + 1) ? "the page under the last press" : "not the page under the last press" }'
  exit 0
fi

while (($#)); do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --rate) rate=$2; shift 2 ;;
    --hold) hold=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--rate PER_SECOND] [--hold MS]" >&2; exit 2 ;;
  esac
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target quarloview hold_probe make_marked_page

# The pages are made once; the stamp names what they are.
files="$build/hold-next-files"
archive="$files/pages-$pages.cbz"
stamp="$files/complete-$pages-${width}x$height"
if [[ ! -f $stamp ]]; then
  rm -rf "$files"
  mkdir -p "$files/pages"
  for ((page = 0; page < pages; ++page)); do
    name=$(printf '%s/pages/%03d.jpg' "$files" "$((page + 1))")
    "$build/bench/hold_next/make_marked_page" "$width" "$height" "$page" | cjpeg -quality 90 -outfile "$name"
  done
  (cd "$files/pages" && /usr/bin/python3 -m zipfile -c "$archive" ./*.jpg)
  touch "$stamp"
fi

QUARLO_SESSION_SCREEN=1920x1080x24 "$root/scripts/e2e-session.sh" "$here/run_hold_next.sh" --in-session \
  "$runs" "$rate" "$hold" "$archive"
