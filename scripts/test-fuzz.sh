#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while from its seed corpus.
# FUZZ_SECONDS sets the time per target (default 35: the twelve targets stay within eight minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-35}
ls fuzz/*.cpp >/dev/null 2>&1 || exit 0

echo "== fuzzers (${seconds} s each)"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DPAVONA_FUZZ=ON -DPAVONA_TESTS=OFF \
  -DPAVONA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(for f in fuzz/*.cpp; do n=$(basename "$f" .cpp); echo "fuzz_$n"; done)
cmake --build build-fuzz -j"$(nproc)" --target $targets
for f in fuzz/*.cpp; do
  n=$(basename "$f" .cpp)
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$n" ] && cp -r "fuzz/corpus/$n/." "$work/"
  echo "-- fuzz_$n"
  (cd "$work" && "$root/build-fuzz/fuzz/fuzz_$n" -max_total_time="$seconds" -rss_limit_mb=4096 \
     -print_final_stats=1 "$work" 2>&1 | tail -n 30)
  rm -rf "$work"
done
