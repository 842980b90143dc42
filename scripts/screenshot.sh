#!/bin/sh
# Makes docs/screenshot.png from the current program: builds it, starts it in
# a private X server with the 528 Hz box and "Delay" ticked, captures the
# window and closes the program with Escape.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target vindrel
mkdir -p docs
. scripts/x11.sh
work=$(mktemp -d)
trap 'kill $x_server_pid 2>/dev/null; rm -rf "$work"' EXIT
start_x "$work"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" build/app/vindrel &
program=$!
find_window || { echo "the window did not appear"; kill $program; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# Tick "528Hz" and "Delay" with the mouse, at their places in the layout.
xdotool mousemove --window "$window" $((WIDTH * 136 / 307)) $((HEIGHT * 79 / 156)) click 1
xdotool mousemove --window "$window" $((WIDTH * 10 / 307)) $((HEIGHT * 51 / 156)) click 1
xdotool mousemove --window "$window" $((WIDTH - 5)) $((HEIGHT - 5))
sleep 0.5
import -window "$window" docs/screenshot.png
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key Escape
wait $program || true
echo "docs/screenshot.png: ${WIDTH}x${HEIGHT}"
