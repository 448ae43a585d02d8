#!/usr/bin/env bash
# Installs what is missing, builds everything with the address and undefined-behaviour sanitizers,
# checks the include rules and runs every test; the end-to-end tests start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-includes.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARLO_SANITIZE=ON
cmake --build "$build" -j "$(nproc)"

# GTK and fontconfig keep caches for the life of the process; leak reports from them are noise.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
