#!/usr/bin/env bash
# Times QuarloView against the viewers Linux users pick today, on the same generated files in one private
# X server: launch to a fitted 24 MP JPEG (gpicview, feh, nsxiv), launch to the first page of a 300-page CBZ
# (MComix), the next picture in a folder of 500 after a key press (gpicview, feh, nsxiv), and peak memory
# while the 24 MP JPEG is shown. It installs those viewers from Debian's packages (only here), builds
# QuarloView and the probe in Release (build/bench), makes the files once into build/bench/viewer-files,
# and leaves the per-run figures in build/bench/viewer-results/runs.csv beside the printed table.
# Usage: bench/viewers/run_viewer_bench.sh [--runs N] [--pages N] [--timeout SECONDS] [--viewers a,b,...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# Inside the session that e2e-session.sh starts below.
if [[ ${1:-} == --in-session ]]; then
  shift
  exec /usr/bin/python3 "$here/viewer_bench.py" --build "$root/build/bench" "$@"
fi

# The other viewers come from Debian's packages, installed here only.
"$root/scripts/install-deps.sh" gpicview feh nsxiv mcomix

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$root/build/bench" -j2 --target quarloview viewer_probe make_bench_picture

QUARLO_SESSION_SCREEN=1920x1080x24 "$root/scripts/e2e-session.sh" "$here/run_viewer_bench.sh" --in-session "$@"
