#!/usr/bin/env bash
# Builds the threaded tests with ThreadSanitizer and runs them: the transition driver composes
# frames on the frame-timer thread while the UI thread paints and handles its messages, and the
# event loop takes posted work from other threads.
# BUILD_DIR overrides the build folder (default build-tsan).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${BUILD_DIR:-build-tsan}
jobs=$(nproc)

echo "== threaded tests with ThreadSanitizer"
tests="slideview_driver_tests platform_tests app_tests"
cmake -S "$root" -B "$root/$dir" -DPAVONA_WERROR=ON -DPAVONA_TSAN=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/$dir" --target $tests -j"$jobs"
for t in $tests; do
  echo "-- $t"
  binary=$(find "$root/$dir/tests" -type f -name "$t" | head -n 1)
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$binary" --gtest_brief=1
done
