#!/bin/sh
# Installs what is missing, builds and starts the program.
set -eu
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "vindrel: no display found (set DISPLAY, or run it under Xvfb)" >&2
    exit 1
fi
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target vindrel
exec build/app/vindrel "$@"
