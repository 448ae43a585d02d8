#!/usr/bin/env bash
# Installs what is missing, builds QuarloView (Release) and runs it on PATH, or on samples/. Until the
# viewer window exists, it runs quarloview-inspect, which prints the pictures the viewer would list.
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
cmake --build "$build" -j "$(nproc)" --target quarloview quarloview-inspect

exec "$build/app/quarloview-inspect" "$target" --decode
