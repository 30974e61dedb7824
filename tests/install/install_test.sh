#!/usr/bin/env bash
# Installs the build into a fresh prefix, makes a show with the installed `pavona pack` (which
# must find the installed player by itself), and plays it with that player on a virtual X
# server: a red slide shows, Right brings the green one, Escape ends with 0 and the working
# folder goes. Also checks the manual pages. Exits 77 (skipped) when Xvfb or the X tools are
# missing.
set -u
build=$1
. "$(dirname "$0")/../xvfb_session.sh"
require Xvfb xdotool import convert man


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

start_xvfb 320x240x24

TMP="$work/tmp" SDL_AUDIODRIVER=dummy "$work/show" &
app_pid=$!

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
wait "$app_pid"
rc=$?
app_pid=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
[ -e "$work/tmp/Pavona" ] && fail "the working folder is still there"
echo "installed: pack found the installed player; its show played under Xvfb and ended with 0"
