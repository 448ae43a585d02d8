# Helpers for the toolkit's end-to-end scripts (sourced). They start the probe program, wait for its trace
# lines and find its windows. Every wait has a time-out; nothing relies on a fixed sleep.
probe_trace="$QUARLO_E2E_WORK/probe-trace.txt"
export QUARLO_VIEW_TRACE="$probe_trace" ASAN_OPTIONS=detect_leaks=0
: > "$probe_trace"

# start_program NAME [ARGS...]: starts one of the test programs in the background as the probe.
start_program() {
  local name=$1
  shift
  "$QUARLO_TEST_BIN/$name" "$@" > "$QUARLO_E2E_WORK/probe.log" 2>&1 &
  probe_pid=$!
  trap 'kill "$probe_pid" 2>/dev/null || true' EXIT
}

start_probe() { start_program toolkit_probe "$@"; }

skip() {
  echo "SKIP: $*"
  exit 77
}

# start_ibus_hangul: starts ibus with its Hangul engine in Hangul mode as this session's input method, or
# skips the test (77) when ibus, the engine or GTK's ibus module is missing or does not start. The caller
# ends it with "ibus exit" (its EXIT trap).
start_ibus_hangul() {
  command -v ibus-daemon > /dev/null || skip "ibus-daemon is not installed (package ibus)"
  [[ -f /usr/share/ibus/component/hangul.xml ]] || skip "the Hangul engine is not installed (package ibus-hangul)"
  local gtk_modules
  gtk_modules=$(pkg-config --variable=libdir gtk+-3.0 2>/dev/null || echo /usr/lib/x86_64-linux-gnu)
  compgen -G "$gtk_modules/gtk-3.0/3.0.0/immodules/im-ibus.so" > /dev/null ||
    skip "the GTK 3 input-method module of ibus is not installed (package ibus-gtk3)"
  # The engine starts in Latin mode unless told otherwise; the settings live in this test's own dconf. The
  # daemon makes its first preloaded engine the current one once it has read them (an engine chosen before
  # that is replaced), so Hangul is the only one.
  gsettings set org.freedesktop.ibus.engine.hangul initial-input-mode hangul
  gsettings set org.freedesktop.ibus.general preload-engines "['hangul']"
  gsettings set org.freedesktop.ibus.general engines-order "['hangul']"
  [[ $(gsettings get org.freedesktop.ibus.engine.hangul initial-input-mode) == "'hangul'" ]] ||
    skip "settings are not stored (no dconf backend: packages dconf-gsettings-backend, dconf-service)"
  # The panel draws the candidate window; the emoji extension is not needed.
  ibus-daemon --xim --emoji-extension=disable --daemonize > "$QUARLO_E2E_WORK/ibus.log" 2>&1 ||
    skip "ibus-daemon did not start: $(cat "$QUARLO_E2E_WORK/ibus.log")"
  trap 'ibus exit > /dev/null 2>&1 || true' EXIT
  local deadline=$((SECONDS + 30))
  until [[ $(ibus engine 2>/dev/null) == hangul ]]; do
    ((SECONDS < deadline)) || skip "ibus did not start the Hangul engine within 30 s: $(cat "$QUARLO_E2E_WORK/ibus.log")"
    sleep 0.1
  done
  export GTK_IM_MODULE=ibus
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
