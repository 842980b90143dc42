#!/bin/sh
# Installs with apt-get whatever this project needs and the machine lacks.
set -eu

PACKAGES="g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev qt6-base-dev xvfb xauth xdotool imagemagick x11-utils openbox wmctrl pulseaudio pulseaudio-utils appstream desktop-file-utils dpkg-dev file bc"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
