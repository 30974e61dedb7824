#!/usr/bin/env bash
# Plays a show with a looping sound on a virtual X server where SDL finds no audio device at all
# (SDL_AUDIODRIVER names a driver that does not exist). The show must still come up, change
# slides on Right and end with exit code 0 on Escape, leaving no working folder: a desktop
# without sound plays the show silently. Exits 77 (skipped) when a tool is missing.
set -u
tool=$1
viewer=$2
for t in Xvfb xdotool import convert sox timeout; do
  command -v "$t" >/dev/null || { echo "$t is not installed: skipped"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=""
show_pid=""
cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

mkdir "$work/in" "$work/tmp"
convert -size 160x120 xc:red "$work/in/1.png"
convert -size 160x120 xc:lime "$work/in/2.png"
sox -n -r 44100 -c 2 -b 16 "$work/in/tone.wav" synth 1 sine 440
"$tool" pack -o "$work/show" --sound "$work/in/tone.wav" --player "$viewer" \
  "$work/in/1.png" "$work/in/2.png" 2>"$work/pack.log" ||
  { cat "$work/pack.log"; fail "pavona pack failed"; }

Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$(cat "$work/display")"

TMP="$work/tmp" SDL_AUDIODRIVER=no-such-driver "$work/show" &
show_pid=$!

expect_colour() {
  local want got
  want=$(convert xc:"$1" -depth 8 -format '%[hex:u.p{0,0}]' info:)
  for _ in $(seq 50); do
    import -window root "$work/screen.png" 2>/dev/null
    got=$(convert "$work/screen.png" -depth 8 -format '%[hex:u.p{160,120}]' info: 2>/dev/null)
    [ "$got" = "$want" ] && return 0
    kill -0 "$show_pid" 2>/dev/null || fail "$2: the show ended"
    sleep 0.1
  done
  fail "$2: the screen shows #$got, not $1 (#$want)"
}

expect_colour red "first slide"
xdotool key Right
expect_colour lime "after Right"
xdotool key Escape
timeout 10 tail --pid="$show_pid" -f /dev/null || fail "the show did not end after Escape"
wait "$show_pid"
rc=$?
show_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "show without an audio device: both slides, Escape ended it with 0"
