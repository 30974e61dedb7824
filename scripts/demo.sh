#!/usr/bin/env bash
# Builds the viewer and starts it on this desktop: a black full-screen window; Escape ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target pavona-viewer -j"$(nproc)"
exec build/app/pavona-viewer
