#!/usr/bin/env bash
# Plays a show made by `pavona pack` (three one-colour pictures and a one-second 440 Hz tone) on a
# virtual X server, with SDL's disk audio driver writing the sound output to a file. Checks that
# the first slide comes up, that each press of Right brings the next slide, that 2.5 s after the
# sound output began it holds the tone twice (the sound restarted at its end), and that Escape
# ends the show with exit code 0 and leaves no working folder. Exits 77 (skipped) when a tool is
# missing.
set -u
tool=$1
viewer=$2
. "$(dirname "$0")/../xvfb_session.sh"
require Xvfb xdotool import convert sox


mkdir "$work/in" "$work/tmp"
convert -size 160x120 xc:red "$work/in/1.png"
convert -size 160x120 xc:lime "$work/in/2.png"
convert -size 160x120 xc:blue "$work/in/3.png"
sox -n -r 44100 -c 2 -b 16 "$work/in/tone.wav" synth 1 sine 440
"$tool" pack -o "$work/show" --sound "$work/in/tone.wav" --player "$viewer" \
  "$work/in/1.png" "$work/in/2.png" "$work/in/3.png" 2>"$work/pack.log" ||
  { cat "$work/pack.log"; fail "pavona pack failed"; }

start_xvfb 320x240x24

TMP="$work/tmp" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$work/show" &
app_pid=$!

for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Viewer$' >/dev/null 2>&1 && break
  sleep 0.1
done

# Waits until the centre of the screen has the colour (name or #rrggbb), up to five seconds.
expect_colour() {
  local want got
  want=$(convert xc:"$1" -depth 8 -format '%[hex:u.p{0,0}]' info:)
  for _ in $(seq 50); do
    import -window root "$work/screen.png" 2>/dev/null
    got=$(convert "$work/screen.png" -depth 8 -format '%[hex:u.p{160,120}]' info: 2>/dev/null)
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  fail "$2: the screen shows #$got, not $1 (#$want)"
}

# The audio output starts when the viewer opens its sound device, before its first slide.
for _ in $(seq 100); do [ -e "$work/audio.raw" ] && break; sleep 0.05; done
[ -e "$work/audio.raw" ] || fail "no audio output"
started=$(date +%s.%N)

expect_colour red "first slide"
[ -d "$work/tmp/Pavona" ] || fail "no working folder while the show runs"
xdotool key Right
expect_colour lime "after the first Right"
xdotool key Right
expect_colour blue "after the second Right"

now=$(date +%s.%N)
sleep "$(awk -v s="$started" -v n="$now" 'BEGIN { d = 2.5 - (n - s); print (d > 0 ? d : 0) }')"

# The output is 16-bit stereo at 44100 Hz. The disk driver runs somewhat slower than real time on
# a busy machine, so allow it up to five more seconds to have written 2.2 s of sound.
raw=(-t raw -r 44100 -e signed -b 16 -c 2 "$work/audio.raw")
want=$((22 * 44100 * 4 / 10))
for _ in $(seq 50); do
  bytes=$(stat -c %s "$work/audio.raw")
  [ "$bytes" -ge "$want" ] && break
  sleep 0.1
done
[ "$bytes" -ge "$want" ] || fail "only $bytes bytes of audio output"
# With the leading silence cut, the tone must fill the middle of its first pass and of the
# restarted second one.
for pass in 0 1; do
  stats=$(sox "${raw[@]}" -n remix 1 silence 1 0.01 1% trim "$pass.2" 0.6 stat 2>&1)
  rms=$(printf '%s\n' "$stats" | sed -n 's/^RMS *amplitude: *//p')
  freq=$(printf '%s\n' "$stats" | sed -n 's/^Rough *frequency: *//p')
  awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.3) }' ||
    fail "pass $((pass + 1)) of the sound is missing from the output (RMS '$rms')"
  awk -v f="${freq:-0}" 'BEGIN { exit !(f > 400 && f < 480) }' ||
    fail "pass $((pass + 1)) is not the tone (rough frequency '$freq')"
done

xdotool key Escape
wait "$app_pid"
rc=$?
app_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "show under Xvfb: three slides in order, the sound played twice, Escape ended it with 0"
