#!/usr/bin/env bash
# Compares our renderings of the shared real metafiles with LibreOffice's: both are trimmed to
# their drawn content, ours is scaled to the reference's size, and the share of pixels whose
# colour lies within a tolerance is printed per file. Needs soffice (libreoffice-draw) and
# ImageMagick; not part of CI.
#   scripts/compare-metafiles.sh [BUILD_DIR] [FUZZ_PERCENT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
fuzz=${2:-10}
fixtures=$top/../shared/fixtures/metafiles
[ -d "$fixtures" ] || fixtures=/work/shared/fixtures/metafiles
command -v soffice >/dev/null || { echo "compare-metafiles: soffice not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ours" "$work/ref"
PAVONA_METAFILE_PNG_DIR=$work/ours "$build/tests/pictures/pictures_tests" \
  --gtest_filter='Fixtures/RealMetafile.*' >/dev/null

printf '%-40s %10s %10s\n' file size within
for f in "$fixtures"/*.wmf "$fixtures"/*.emf; do
  name=$(basename "$f")
  # One file at a time: soffice names its output after the input without the extension.
  mkdir -p "$work/ref/$name"
  soffice --headless --convert-to png --outdir "$work/ref/$name" "$f" >/dev/null 2>&1
  ref=$(ls "$work/ref/$name"/*.png)
  # A page of one colour: the other program drew nothing to compare with.
  if [ "$(identify -format '%[fx:standard_deviation==0]' "$ref")" = 1 ]; then
    printf '%-40s %10s %10s\n' "$name" - "no reference"
    continue
  fi
  convert "$ref" -trim +repage "$work/ref.png"
  size=$(identify -format '%wx%h' "$work/ref.png")
  convert "$work/ours/$name.png" -trim +repage -resize "$size!" "$work/ours.png"
  total=$(identify -format '%[fx:w*h]' "$work/ref.png")
  differ=$(compare -metric AE -fuzz "$fuzz%" "$work/ref.png" "$work/ours.png" null: 2>&1 || true)
  awk -v n="$name" -v s="$size" -v d="$differ" -v t="$total" \
    'BEGIN { printf "%-40s %10s %9.1f%%\n", n, s, 100 * (1 - d / t) }'
done
