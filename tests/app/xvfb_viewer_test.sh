#!/usr/bin/env bash
# Runs pavona-viewer on a virtual X server with a white root window and checks that exactly one
# window titled "Viewer" covers the screen, that the screen turns black, that the working folder
# exists while it runs, and that Escape ends it with exit code 0 and removes the folder.
# Exits 77 (skipped) when Xvfb or the X tools are missing.
set -u
viewer=$1
. "$(dirname "$0")/../xvfb_session.sh"
require Xvfb xdotool xwininfo import convert


start_xvfb 800x600x24 -wr

mkdir "$work/tmp"
TMP="$work/tmp" "$viewer" &
app_pid=$!

ids=""
for _ in $(seq 100); do
  ids=$(xdotool search --onlyvisible --name '^Viewer$' 2>/dev/null)
  [ -n "$ids" ] && break
  sleep 0.1
done
count=$(printf '%s\n' "$ids" | grep -c .)
[ "$count" = 1 ] || fail "expected one visible window titled Viewer, found $count"

info=$(xwininfo -id "$ids")
field() { printf '%s\n' "$info" | sed -n "s/^ *$1: *//p"; }
[ "$(field 'Absolute upper-left X') $(field 'Absolute upper-left Y')" = "0 0" ] || fail "window not at 0,0"
[ "$(field Width)x$(field Height)" = "800x600" ] || fail "window is $(field Width)x$(field Height), not 800x600"

black=""
for _ in $(seq 50); do
  import -window root "$work/screen.png" 2>/dev/null
  black=$(convert "$work/screen.png" -format '%[fx:maxima==0 ? 1 : 0]' info: 2>/dev/null)
  [ "$black" = 1 ] && break
  sleep 0.1
done
[ "$black" = 1 ] || fail "the screen is not all black"
[ -d "$work/tmp/Pavona" ] || fail "no working folder while the viewer runs"

xdotool key Escape
wait "$app_pid"
rc=$?
app_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "pavona-viewer under Xvfb: one black full-screen window titled Viewer; Escape ended it with 0"
