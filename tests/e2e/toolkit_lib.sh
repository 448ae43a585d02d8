# Helpers for the toolkit's end-to-end scripts (sourced). They start the probe program, wait for its trace
# lines and find its windows. Every wait has a time-out; nothing relies on a fixed sleep.
probe_trace="$QUARLO_E2E_WORK/probe-trace.txt"
export QUARLO_VIEW_TRACE="$probe_trace" ASAN_OPTIONS=detect_leaks=0
: > "$probe_trace"

start_probe() {
  "$QUARLO_TEST_BIN/toolkit_probe" "$@" > "$QUARLO_E2E_WORK/probe.log" 2>&1 &
  probe_pid=$!
  trap 'kill "$probe_pid" 2>/dev/null || true' EXIT
}

fail() {
  echo "FAIL: $*"
  echo "--- trace:"; cat "$probe_trace"
  echo "--- probe output:"; cat "$QUARLO_E2E_WORK/probe.log"
  exit 1
}

# wait_for_line PATTERN [SECONDS]: waits until a trace line matches the extended regular expression.
wait_for_line() {
  local pattern=$1 limit=${2:-10}
  local deadline=$((SECONDS + limit))
  until grep -qE -- "$pattern" "$probe_trace"; do
    ((SECONDS < deadline)) || fail "no trace line matching '$pattern' within ${limit}s"
    sleep 0.05
  done
}

# count_lines PATTERN: how many trace lines match.
count_lines() { grep -cE -- "$1" "$probe_trace" || true; }

# window_id NAME: the X window id of the probe window with this title (waits for it to be mapped).
window_id() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1
}

# wait_for_exit [SECONDS]: waits for the probe to end and checks its exit code is 0.
wait_for_exit() {
  local limit=${1:-10} deadline=$((SECONDS + ${1:-10}))
  while kill -0 "$probe_pid" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "the probe did not exit within ${limit}s"
    sleep 0.05
  done
  wait "$probe_pid" || fail "the probe exited with status $?"
}

# drag_to SOURCE_WINDOW X Y: drags from inside the drag source window to the screen point (X, Y): a press in
# the source, moves past GTK's drag threshold in steps, a last small move over the target and the release.
drag_to() {
  local sx sy
  read -r sx sy < <(xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
  xdotool mousemove $((sx + 60)) $((sy + 60)) mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((sx + 60 + step * ($2 - sx - 70) / 8)) $((sy + 60 + step * ($3 - sy - 70) / 8))
    sleep 0.05
  done
  sleep 0.2
  xdotool mousemove "$2" "$3"
  sleep 0.2
  xdotool mouseup 1
}
