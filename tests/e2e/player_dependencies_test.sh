#!/usr/bin/env bash
# Checks that the self-contained player runs on any x86-64 Linux with glibc 2.34 or newer: its
# dynamic section may name only glibc's own libraries and libgcc_s, and it may use no glibc
# symbol version newer than GLIBC_2.34. Names every library and symbol that breaks the rule.
# Usage: player_dependencies_test.sh PLAYER STATIC; exits 77 (skipped) unless STATIC is ON.
set -euo pipefail
player=$1
static=$2
if [ "$static" != ON ]; then
  echo "the player was built without PAVONA_STATIC_PREFIX: skipped"
  exit 77
fi
for t in readelf objdump; do
  command -v "$t" >/dev/null || { echo "$t is not installed: skipped"; exit 77; }
done

allowed=" libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 libgcc_s.so.1 ld-linux-x86-64.so.2 "
newest_major=2
newest_minor=34
failed=0

needed=$(readelf -d "$player" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ -n "$needed" ] || { echo "FAILED: no NEEDED entries read from $player"; exit 1; }
for lib in $needed; do
  case $allowed in
    *" $lib "*) ;;
    *) echo "FAILED: the player needs $lib"; failed=1 ;;
  esac
done

# objdump -T: one line per dynamic symbol, with its version in parentheses or bare.
while read -r version symbol; do
  IFS=. read -r major minor _ <<<"${version#GLIBC_}"
  if [ "$major" -gt "$newest_major" ] ||
     { [ "$major" -eq "$newest_major" ] && [ "${minor:-0}" -gt "$newest_minor" ]; }; then
    echo "FAILED: the player uses $symbol@$version (newest allowed: GLIBC_$newest_major.$newest_minor)"
    failed=1
  fi
done < <(objdump -T "$player" |
  awk '{ for (i = 1; i < NF; i++) if ($i ~ /^\(?GLIBC_[0-9]/) { v = $i; gsub(/[()]/, "", v); print v, $NF } }')

[ "$failed" = 0 ] || exit 1
echo "the player needs only:" $needed
