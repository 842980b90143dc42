#!/bin/sh
# Installs what is missing, builds and runs every test; exits non-zero on any
# failure:
#   1. the normal build: unit, UI (offscreen), end-to-end and sound-server tests;
#   2. the Debian package: built, installed, validated and started once;
#   3. the whole suite but the end-to-end runs under AddressSanitizer +
#      UndefinedBehaviorSanitizer, and again under ThreadSanitizer.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
build() {
    echo "== $1 build"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
}

build default
echo "== tests"
ctest --preset default -j "$jobs" -LE e2e
ctest --preset default -L e2e
echo "== package"
scripts/package-test.sh

for preset in asan tsan; do
    build "$preset"
    echo "== tests under $preset"
    ctest --preset "$preset" -j "$jobs" -LE e2e
done
echo "== all tests passed"
