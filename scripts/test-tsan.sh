#!/usr/bin/env bash
# Builds the transition driver's tests with ThreadSanitizer and runs them: the driver composes
# frames on the frame-timer thread while the UI thread paints and handles its messages.
# BUILD_DIR overrides the build folder (default build-tsan).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${BUILD_DIR:-build-tsan}
jobs=$(nproc)

echo "== driver tests with ThreadSanitizer"
cmake -S "$root" -B "$root/$dir" -DPAVONA_WERROR=ON -DPAVONA_TSAN=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/$dir" --target slideview_driver_tests -j"$jobs"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$root/$dir/tests/slideview/slideview_driver_tests"
