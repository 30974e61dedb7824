#!/usr/bin/env bash
# Plays a show with a looping sound on a virtual X server where SDL finds no audio device at all
# (SDL_AUDIODRIVER names a driver that does not exist). The show must still come up, change
# slides on Right and end with exit code 0 on Escape, leaving no working folder: a desktop
# without sound plays the show silently. Exits 77 (skipped) when a tool is missing.
set -u
tool=$1
viewer=$2
. "$(dirname "$0")/../xvfb_session.sh"
require Xvfb xdotool import convert sox timeout


mkdir "$work/in" "$work/tmp"
convert -size 160x120 xc:red "$work/in/1.png"
convert -size 160x120 xc:lime "$work/in/2.png"
sox -n -r 44100 -c 2 -b 16 "$work/in/tone.wav" synth 1 sine 440
"$tool" pack -o "$work/show" --sound "$work/in/tone.wav" --player "$viewer" \
  "$work/in/1.png" "$work/in/2.png" 2>"$work/pack.log" ||
  { cat "$work/pack.log"; fail "pavona pack failed"; }

start_xvfb 320x240x24

TMP="$work/tmp" SDL_AUDIODRIVER=no-such-driver "$work/show" &
app_pid=$!

expect_colour() {
  local want got
  want=$(convert xc:"$1" -depth 8 -format '%[hex:u.p{0,0}]' info:)
  for _ in $(seq 50); do
    import -window root "$work/screen.png" 2>/dev/null
    got=$(convert "$work/screen.png" -depth 8 -format '%[hex:u.p{160,120}]' info: 2>/dev/null)
    [ "$got" = "$want" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "$2: the show ended"
    sleep 0.1
  done
  fail "$2: the screen shows #$got, not $1 (#$want)"
}

expect_colour red "first slide"
xdotool key Right
expect_colour lime "after Right"
xdotool key Escape
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "the show did not end after Escape"
wait "$app_pid"
rc=$?
app_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "show without an audio device: both slides, Escape ended it with 0"
