#!/usr/bin/env bash
# Installs what is missing, builds QuarloView (Release) and opens PATH, or samples/, in the viewer. On a
# machine without a display it runs the screenshot run on PATH under a private Xvfb server instead and
# says where the pictures of the viewer window are.
# Usage: scripts/run.sh [PATH]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-$root/samples}
# Resolve a relative PATH against the caller's folder before moving to the source tree.
[[ "$target" == /* ]] || target="$PWD/$target"
cd "$root"

scripts/install-deps.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARLO_TESTS=OFF -DQUARLO_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quarloview

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/app/quarloview" "$target"
fi

shots="$root/$build/shots"
rm -rf "$shots"
work=$(mktemp -d "${TMPDIR:-/tmp}/quarloview-run.XXXXXX")
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
trap 'kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do
  [[ -s "$work/display" ]] && break
  sleep 0.05
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
echo "No display: taking pictures of the viewer window on $target instead."
DISPLAY=":$(head -n1 "$work/display")" QUARLO_VIEW_SHOTS="$shots" QUARLO_VIEW_PARK_WINDOWS=1 \
  "$build/app/quarloview" "$target"
echo "The pictures are in $shots:"
ls "$shots"
