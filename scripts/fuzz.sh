#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs one target, or every one in turn, for
# SECONDS each in a single process. Each target starts from the inputs its table pins
# (tests/fuzz/expected/TARGET.txt) plus what earlier runs found, with its dictionary when
# tests/fuzz/TARGET.dict exists. Nothing in the source tree is written: the growing corpus and any
# finding (crash-*, leak-*, timeout-*, oom-*) go to build/fuzz/findings/TARGET/, where findings stay
# (and are listed again) until removed.
# Usage: scripts/fuzz.sh [TARGET] [SECONDS]    TARGET as in tests/fuzz/TARGET_fuzz.cpp, or "all"
set -euo pipefail
cd "$(dirname "$0")/.."

only=${1:-all}
seconds=${2:-60}
build=build/fuzz
# Long enough for any real input of these parsers; an input that takes longer is a finding.
per_input_timeout=10

targets=()
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  [[ "$only" == all || "$only" == "$name" || "$only" == "${name}_fuzz" ]] && targets+=("$name")
done
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz target named $only; there are:" $(basename -s _fuzz.cpp tests/fuzz/*_fuzz.cpp) >&2
  exit 2
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUARLO_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
found=0
for name in "${targets[@]}"; do
  out="$build/findings/$name"
  mkdir -p "$out/corpus"
  table="tests/fuzz/expected/$name.txt"
  if [[ -f "$table" ]]; then
    awk '!/^#/ && NF { print $1 }' "$table" | while read -r input; do
      cp -f "tests/fuzz/$input" "$out/corpus/${input//\//_}"
    done
  fi
  dict=()
  [[ -f "tests/fuzz/$name.dict" ]] && dict=(-dict="tests/fuzz/$name.dict")
  echo "== $name: $seconds s"
  "$build/tests/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout="$per_input_timeout" \
    -print_final_stats=1 -artifact_prefix="$out/" "${dict[@]}" "$out/corpus" >"$out/fuzz.log" 2>&1 || true
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$out/fuzz.log" || tail -n 5 "$out/fuzz.log"
  for finding in "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-*; do
    [[ -e "$finding" ]] || continue
    found=1
    echo "finding: $finding (log: $out/fuzz.log)"
  done
done

if [[ $found -eq 1 ]]; then
  cat <<EOF

To keep a finding: copy it to tests/fuzz/regressions/ under a name saying what it hit, fix the fault,
then run the replay test (build/test/tests/fuzz_replay_test, part of scripts/test.sh). It fails on the
new file and prints what each target gives for it; add the line "regressions/NAME  STATUS" to
tests/fuzz/expected/TARGET.txt.
EOF
  exit 1
fi
