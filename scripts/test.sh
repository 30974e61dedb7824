#!/usr/bin/env bash
# Installs what is missing, checks the libraries' includes against their layering, builds the
# static libraries of the self-contained player (once, see scripts/build-static-deps.sh), builds,
# and runs every test: the normal build, then the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, the ThreadSanitizer build of the threaded
# tests, and the fuzzers for a short while. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/install-deps.sh
scripts/build-static-deps.sh

configure() {  # build-dir, options...
  local dir=$1; shift
  cmake -S "$root" -B "$root/$dir" -DPAVONA_WERROR=ON "$@" >/dev/null
}

echo "== layering"
scripts/check-layering.sh

echo "== build"
configure build
cmake --build build -j"$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DPAVONA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE no_sanitize

if [ -f scripts/test-tsan.sh ]; then scripts/test-tsan.sh; fi
if [ -f scripts/test-fuzz.sh ]; then scripts/test-fuzz.sh; fi
echo "== all tests passed"
