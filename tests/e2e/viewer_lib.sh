# Helpers for the viewer's end-to-end scripts (sourced). The viewer runs in test mode with its own instance
# name; toolkit_lib.sh's waits, failure report and exit check serve it as they serve the probe: the trace
# file is theirs, and the viewer's output goes to their log.
source "$(dirname "${BASH_SOURCE[0]}")/toolkit_lib.sh"
export QUARLO_VIEW_SETTINGS_KEY='Software\QuarloTest' QUARLO_VIEW_INSTANCE="e2e-$$"
hive="$XDG_CONFIG_HOME/quarloview/registry.txt"
samples="$QUARLO_SOURCE_DIR/samples"

# start_viewer [ARGS...]: starts the viewer in the background and waits for its "started" line.
start_viewer() {
  local before
  before=$(count_lines '^started$')
  "$QUARLO_BIN/quarloview" "$@" >> "$QUARLO_E2E_WORK/probe.log" 2>&1 &
  probe_pid=$!
  trap 'kill "$probe_pid" 2>/dev/null || true' EXIT
  local deadline=$((SECONDS + 20))
  until (($(count_lines '^started$') > before)); do
    ((SECONDS < deadline)) || fail "the viewer did not start"
    sleep 0.02
  done
}

# viewer CMD...: runs a second start of the viewer and prints nothing; its exit code is the function's.
viewer() { "$QUARLO_BIN/quarloview" "$@" >> "$QUARLO_E2E_WORK/probe.log" 2>&1; }

# forward NAME: forwards a command to the running viewer and checks it was delivered.
forward() { viewer --command "$1" || fail "--command $1 was not delivered"; }

# quit_viewer: ends the running viewer through the link and waits for it to exit with 0.
quit_viewer() {
  viewer --quit || fail "--quit was not delivered"
  wait_for_exit 20
  wait_for_line '^closed$'
}

# wait_for_count PATTERN N: waits until at least N trace lines match the extended regular expression.
wait_for_count() {
  local deadline=$((SECONDS + 10))
  until (($(count_lines "$1") >= $2)); do
    ((SECONDS < deadline)) || fail "fewer than $2 trace lines matching '$1' within 10s"
    sleep 0.05
  done
}
