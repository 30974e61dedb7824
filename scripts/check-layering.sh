#!/usr/bin/env bash
# Holds each library to the libraries it may use: every project header that its sources include
# ("folder/file.h") must come from its own folder or from one listed for it below. Host headers
# (SDL, POSIX, Windows) may be included only under platform/. Prints each offending file and
# include, and exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# base/ holds small utilities that every library may use.
declare -A allowed=(
  [base]=""
  [raster]="base"
  [platform]="raster base"
  [package]="platform raster base"
  [settings]="platform raster base"
  [pictures]="platform raster base"
  [transition]="raster base"
  [slideview]="transition pictures platform raster base"
  [effects]="transition raster base"
  [sound]="platform raster base"
  [app]="slideview effects sound package settings pictures transition platform raster base"
  [tools]="slideview effects sound package settings pictures transition platform raster base"
)
host_headers='SDL|SDL2/|unistd\.h|fcntl\.h|dirent\.h|dlfcn\.h|iconv\.h|signal\.h|pthread\.h|sys/|windows\.h|mmsystem\.h'

status=0
for library in "${!allowed[@]}"; do
  [ -d "$library" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      header=${line#*\"}
      header=${header%%\"*}
      folder=${header%%/*}
      [ "$folder" = "$header" ] && continue  # a header beside the file
      [ "$folder" = "$library" ] && continue
      ok=0
      for use in ${allowed[$library]}; do
        [ "$folder" = "$use" ] && ok=1
      done
      if [ $ok -eq 0 ]; then
        echo "layering: $file includes \"$header\"; $library/ may use: ${allowed[$library]:-nothing}"
        status=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    if [ "$library" != platform ]; then
      while IFS= read -r line; do
        echo "layering: $file includes a host header outside platform/: $line"
        status=1
      done < <(grep -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($host_headers)" "$file" || true)
    fi
  done < <(find "$library" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
exit $status
