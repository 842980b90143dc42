#!/bin/sh
# Installs what is missing, builds and runs every test: a normal build, then
# the whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer
# and under ThreadSanitizer.
# Exits non-zero on any failure.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
for preset in default asan tsan; do
    echo "== $preset build and tests"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
