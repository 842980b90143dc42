#!/bin/bash
# The program through a real sound server: a private PulseAudio with a pipe
# sink whose output we record in real time. No SDL driver is forced: SDL
# finds the server itself. The 528 Hz box is ticked with the mouse and the
# tone must arrive and hold for 10 s (VINDREL_SOUND_SECONDS) without a drop-out.
#   sound_server_test.sh PROGRAM SPECTRUM
set -u
program=$1
spectrum=$2
D=$(mktemp -d)
chmod 700 "$D"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$D"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export HOME=$D XDG_RUNTIME_DIR=$D PULSE_RUNTIME_PATH=$D PULSE_SERVER=unix:$D/native
unset SDL_AUDIODRIVER
mkfifo "$D/fifo"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-pipe-sink file=$D/fifo format=s16le rate=48000 channels=2 use_system_clock_for_timing=yes" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$D/native" >"$D/pulse.log" 2>&1 &
pids+=($!)
cat "$D/fifo" > "$D/capture.raw" &
pids+=($!)
for _ in $(seq 1 200); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || { cat "$D/pulse.log"; fail "the sound server did not start"; }

. "$(dirname "$0")/../../scripts/x11.sh"
start_x "$D" || fail "no X server"
pids+=($x_server_pid)

"$program" 2>"$D/stderr.txt" &
app=$!
pids+=($app)
find_window || { cat "$D/stderr.txt"; fail "the window did not appear"; }
sleep 1
pactl list short sink-inputs | grep -q . || fail "the program did not connect to the sound server"
eval "$(xdotool getwindowgeometry --shell "$window")"
ticked=$(echo "scale=3; $(stat -c %s "$D/capture.raw") / 192000" | bc)
xdotool mousemove --window "$window" $((136 * WIDTH / 307)) $((79 * HEIGHT / 156)) click 1
seconds=${VINDREL_SOUND_SECONDS:-10}
sleep $((seconds + 1))
"$spectrum" "$D/capture.raw" --from "$ticked" --length 1 --onset-within 0.5 || fail "no tone"
"$spectrum" "$D/capture.raw" --from "$(echo "$ticked + 0.6" | bc)" --length "$seconds" \
    --expect 528 --max-residual 0.02 --steady 0.05 || fail "the tone did not hold for $seconds s"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null
xdotool key Escape
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
wait "$app"
code=$?
[ "$code" = 2 ] || fail "Escape gave $code"
echo "sound server: ok"
