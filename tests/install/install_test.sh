#!/usr/bin/env bash
# Installs the build into a fresh prefix, makes a show with the installed `pavona pack` (which
# must find the installed player by itself), and plays it with that player on a virtual X
# server: a red slide shows, Right brings the green one, Escape ends with 0 and the working
# folder goes. Also checks the manual pages. Exits 77 (skipped) when Xvfb or the X tools are
# missing.
set -u
build=$1
for tool in Xvfb xdotool import convert man; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
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

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
for file in bin/pavona bin/pavona-viewer share/man/man1/pavona.1 share/man/man1/pavona-viewer.1; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
for page in pavona pavona-viewer; do
  MANWIDTH=80 man -l "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null | grep . &&
    fail "man reports problems in $page(1)"
done
"$prefix/bin/pavona" --version | grep -q '^pavona ' || fail "no version from the installed tool"

mkdir "$work/pictures" "$work/tmp"
convert -size 160x120 xc:red "$work/pictures/1.png"
convert -size 160x120 xc:lime "$work/pictures/2.png"
(cd "$work" && "$prefix/bin/pavona" pack -o show pictures 2>"$work/pack.log") ||
  { cat "$work/pack.log"; fail "the installed pack failed"; }
grep -q "player $prefix/bin/pavona-viewer" "$work/pack.log" ||
  { cat "$work/pack.log"; fail "pack did not take the installed player"; }

Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$(cat "$work/display")"

TMP="$work/tmp" SDL_AUDIODRIVER=dummy "$work/show" &
show_pid=$!

# Waits until the screen's centre has the colour.
centre_is() {
  local want got
  want=$(convert xc:"$1" -depth 8 -format '%[hex:u.p{0,0}]' info:)
  for _ in $(seq 100); do
    import -window root "$work/screen.png" 2>/dev/null
    got=$(convert "$work/screen.png" -depth 8 -format '%[hex:u.p{160,120}]' info: 2>/dev/null)
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  fail "the screen's centre is $got, not $1"
}
centre_is red
xdotool key Right
centre_is lime
xdotool key Escape
wait "$show_pid"
rc=$?
show_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "installed: pack found the installed player; its show played under Xvfb and ended with 0"
