#!/usr/bin/env bash
# Runs pavona-viewer on a virtual X server once for each of SIGTERM, SIGINT and SIGHUP, with a
# show that plays (so a transition and the slide timer are running), and checks that each signal
# ends it as Escape does: exit code 0 and no working folder left behind.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -u
tool=$1
viewer=$2
. "$(dirname "$0")/../xvfb_session.sh"
require Xvfb xdotool

app_kill_signal=KILL

start_xvfb 320x240x24
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null

mkdir "$work/in"
# Two small BMP pictures written byte by byte: 2 x 2, 24 bits, red and green.
bmp() {  # file, b g r
  printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00' >"$1"
  printf '\x28\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00' >>"$1"
  printf '\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >>"$1"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00' >>"$1"
  for _ in 1 2; do printf "$2$2\\x00\\x00" >>"$1"; done
}
bmp "$work/in/a.bmp" '\x00\x00\xff'
bmp "$work/in/b.bmp" '\x00\xff\x00'
(cd "$work/in" && "$tool" pack -o "$work/show" --player "$viewer" --seconds 1 a.bmp b.bmp) \
  >"$work/pack.log" 2>&1 || { cat "$work/pack.log"; fail "pack failed"; }

for signal in TERM INT HUP; do
  rm -rf "$work/tmp"
  mkdir "$work/tmp"
  TMP="$work/tmp" "$work/show" &
  app_pid=$!
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Viewer$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  [ -d "$work/tmp/Pavona" ] || fail "SIG$signal: no working folder while the viewer runs"
  sleep 1.5  # past the first automatic advance
  kill -s "$signal" "$app_pid"
  rc=""
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "SIG$signal did not end the viewer"
  wait "$app_pid"
  rc=$?
  app_pid=""
  [ "$rc" = 0 ] || fail "exit code $rc after SIG$signal"
  [ -e "$work/tmp/Pavona" ] && fail "SIG$signal left the working folder"
  echo "SIG$signal ended the viewer with 0 and removed its working folder"
done
