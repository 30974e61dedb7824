#!/usr/bin/env bash
# Builds pavona and the self-contained pavona-viewer (the static libraries first, once), makes a
# small show (four generated pictures and a one-second tone, advancing every three seconds) and
# plays it full screen: Right/Left, Space or the mouse move through it, Escape ends it. Without a
# display it draws the frames of the show's first cross-fade into a folder instead and says where.
# PAVONA_BUILD_DIR picks the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build-static-deps.sh
build=${PAVONA_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target pavona pavona-viewer -j"$(nproc)"

demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo/pictures"
cd "$demo/pictures"
convert -size 800x600 gradient:navy-skyblue \
  -fill gold -draw 'circle 400,300 400,420' 1-sun.png
convert -size 800x600 gradient:darkgreen-yellowgreen \
  -fill white -draw 'polygon 150,500 400,120 650,500' 2-mountain.png
convert -size 800x600 radial-gradient:orange-darkred \
  -fill none -stroke white -strokewidth 12 -draw 'rectangle 200,150 600,450' 3-frame.png
convert -size 800x600 xc:black \
  -fill crimson -draw 'roundrectangle 100,100 380,500 40,40' \
  -fill teal -draw 'ellipse 560,300 150,220 0,360' 4-shapes.jpg
sox -n -r 22050 -c 1 tone.wav synth 1 sine 440 fade 0.05 1 0.2
cd - >/dev/null

"$build/bin/pavona" pack -o "$demo/show" --seconds 3 --sound "$demo/pictures/tone.wav" \
  "$demo"/pictures/*.png "$demo"/pictures/*.jpg

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display (DISPLAY and WAYLAND_DISPLAY are unset), so the show cannot play here."
  "$build/bin/pavona" render --style 119 --frames "$demo/frames" \
    "$demo/pictures/1-sun.png" "$demo/pictures/2-mountain.png"
  echo "demo: the show is $demo/show; the frames of its first transition are in $demo/frames"
  exit 0
fi
echo "demo: playing $demo/show (Right/Left to move, Escape to end)"
exec "$demo/show"
