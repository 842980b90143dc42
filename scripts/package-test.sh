#!/bin/sh
# Builds the Debian package, installs it on this machine, validates the
# installed desktop entry and metadata, and starts the installed program once
# under Xvfb (it must show its window and end with exit code 2 on Escape).
set -eu
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
(cd build && cpack -G DEB >/dev/null)
package=$(ls build/vindrel_*.deb | head -n 1)
echo "package: $package"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "./$package" >/dev/null
desktop-file-validate /usr/share/applications/org.vindrel.Vindrel.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.vindrel.Vindrel.metainfo.xml
for size in 16 32; do
    file "/usr/share/icons/hicolor/${size}x${size}/apps/vindrel.png" | grep -q "$size x $size"
done

. scripts/x11.sh
work=$(mktemp -d)
trap 'kill $x_server_pid 2>/dev/null; rm -rf "$work"' EXIT
start_x "$work"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" /usr/bin/vindrel 2>/dev/null &
app=$!
find_window || { echo "the installed program showed no window"; kill $app; exit 1; }
sleep 0.5
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key Escape
code=0
wait $app || code=$?
[ "$code" -eq 2 ] || { echo "the installed program ended with $code, not 2"; exit 1; }
echo "package: installed, validated, started and closed (exit code 2)"
