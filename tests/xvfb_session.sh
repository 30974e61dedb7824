# Sourced by the tests that run the real player on a virtual X server. It gives them:
# - require TOOL...: exit 77 (skipped) unless every tool is installed;
# - $work: a fresh folder, removed at exit together with the player ($app_pid) and the server;
# - fail MESSAGE: report and exit 1;
# - start_xvfb SCREEN [OPTION...]: a server of that screen size, exported as DISPLAY.
# Set app_kill_signal to the signal that ends a leftover player at exit (default TERM).

require() {
  local needed
  for needed in "$@"; do
    command -v "$needed" >/dev/null || { echo "$needed is not installed: skipped"; exit 77; }
  done
}

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
app_kill_signal=TERM
cleanup() {
  [ -n "$app_pid" ] && kill "-$app_kill_signal" "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

start_xvfb() {
  local screen=$1
  shift
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
  export DISPLAY=":$(cat "$work/display")"
}
