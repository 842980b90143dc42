#!/bin/bash
# The real program in a private X server with a window manager, driven only
# from outside with real key presses and clicks; SDL's disk driver writes
# what it plays into a pipe that we record, and the spectrum of stretches of
# that recording is checked.
#   e2e_test.sh PROGRAM SPECTRUM
set -u
program=$1
spectrum=$2
work=$(mktemp -d)
pids=()
failures=0
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null
    [ -n "${reader:-}" ] && kill -- -"$reader" 2>/dev/null
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # check NAME spectrum-arguments...
    local name=$1; shift
    if "$spectrum" "$work/capture.raw" "$@" > "$work/check.txt"; then
        echo "ok: $name"; grep -E "begins|quietest" "$work/check.txt" | sed "s/^/   /"
    else
        fail "$name"; sed 's/^/    /' "$work/check.txt"
    fi
}

. "$(dirname "$0")/../../scripts/x11.sh"
start_x "$work" || exit 1
pids+=($x_server_pid)
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

# Seconds of sound recorded so far.
now() { echo "scale=3; $(stat -c %s "$work/capture.raw") / 192000" | bc; }

# Starts the program with its sound going into the recording.
start_program() {
    rm -f "$work/capture.raw" "$work/pipe"
    mkfifo "$work/pipe"
    : > "$work/capture.raw"
    # The device is reopened on "Listen": keep reading from the pipe. A
    # session of its own, so the reader and its cat go together.
    setsid bash -c 'while true; do cat "$1"; done >> "$2"' reader "$work/pipe" \
        "$work/capture.raw" &
    reader=$!
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/pipe" "$program" 2>"$work/stderr.txt" &
    app=$!
    find_window || { fail "the window did not appear"; return 1; }
    xdotool windowactivate --sync "$window" 2>/dev/null
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 1
}

# Waits for the program to end (at most 10 s); sets `code` to its exit code.
wait_exit() {
    for _ in $(seq 1 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
    kill -0 "$app" 2>/dev/null && kill "$app"
    wait "$app"; code=$?
    [ -n "$reader" ] && kill -- -"$reader" 2>/dev/null
}

# Clicks a control at template coordinates (dialog units).
click_at() { xdotool mousemove --window "$window" $(($1 * WIDTH / 307)) $(($2 * HEIGHT / 156)) click 1; }
click_box() { click_at 136 $((15 + 16 * $1)); } # frequency box 0..8
key() { xdotool windowactivate --sync "$window" 2>/dev/null; xdotool key "$@"; }

echo "== playing: keys, mouse, wave shape, Stop and Listen"
start_program || exit 1
t=$(now); check "silence at start" --from "$(echo "$t - 0.8" | bc)" --length 0.7 --silent

xdotool windowactivate --sync "$window" 2>/dev/null
press=$(now); xdotool keydown 5; sleep 1; release=$(now); xdotool keyup 5; sleep 1; after=$(now)
check "528 Hz within a quarter second of the press" --from "$press" --length 0.6 --onset-within 0.25
check "holding 5 gives 528 Hz alone" --from "$(echo "$press + 0.3" | bc)" --length 0.6 \
    --expect 528 --max-residual 0.02
check "silence after the release" --from "$(echo "$release + 0.4" | bc)" \
    --length "$(echo "$after - $release - 0.45" | bc)" --silent

key Down   # the combo box has the focus: "Square"
sleep 0.3
press=$(now); xdotool keydown 1; sleep 1; xdotool keyup 1; sleep 0.5
check "Square gives the odd harmonics" --from "$(echo "$press + 0.3" | bc)" --length 0.6 \
    --expect 174 --expect 522 --expect 870 --absent 348 --absent 696
key Up     # back to "Sine"
sleep 0.3

click_box 0; click_box 8; sleep 0.8; t=$(now)
check "174 Hz and 963 Hz ticked with the mouse" --from "$(echo "$t - 0.6" | bc)" --length 0.5 \
    --expect 174 --expect 963 --max-residual 0.02
key 0; sleep 0.8; t=$(now)
check "0 silences everything" --from "$(echo "$t - 0.5" | bc)" --length 0.45 --silent

click_box 4; sleep 0.6
click_at 275 14   # "Stop"
sleep 0.4; stopped=$(stat -c %s "$work/capture.raw"); sleep 0.6
[ "$(stat -c %s "$work/capture.raw")" -eq "$stopped" ] && echo "ok: Stop silences" ||
    fail "sound went on after Stop"
click_at 217 14   # "Listen": only works when Stop enabled it
sleep 1; t=$(now)
[ "$(stat -c %s "$work/capture.raw")" -gt "$stopped" ] && echo "ok: Listen plays again" ||
    fail "Listen did not start the sound"
check "Listen brings 528 Hz back" --from "$(echo "$t - 0.6" | bc)" --length 0.5 --expect 528 \
    --max-residual 0.02
key Escape
wait_exit; [ "$code" = 2 ] && echo "ok: Escape exits with 2" || fail "Escape gave $code"

echo "== Enter with a check box focused"
start_program || exit 1
click_at 12 33    # "LFO AM" takes the focus
key Return
wait_exit; [ "$code" = 1 ] && echo "ok: Enter exits with 1" || fail "Enter gave $code"

echo "== no sound device: the window works, Listen stays enabled"
start_program_nosound() {
    SDL_AUDIODRIVER=no-such-driver "$program" 2>"$work/stderr.txt" &
    app=$!
    reader=""
    find_window || { fail "the window did not appear"; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 1
}
start_program_nosound || exit 1
tries=$(grep -c "cannot open the sound output" "$work/stderr.txt")
click_at 217 14   # "Listen" tries again, and says so
sleep 0.5
again=$(grep -c "cannot open the sound output" "$work/stderr.txt")
[ "$tries" -ge 1 ] && [ "$again" -gt "$tries" ] && echo "ok: Listen stays enabled without a device" ||
    fail "Listen without a device: $tries, then $again attempts"
click_box 4
sleep 0.2
key Escape
wait_exit; [ "$code" = 2 ] && echo "ok: works without sound, Escape exits with 2" || fail "gave $code"

echo "== the close box"
start_program || exit 1
wmctrl -c Vindrel
wait_exit; [ "$code" = 2 ] && echo "ok: the close box exits with 2" || fail "close gave $code"

[ "$failures" -eq 0 ] && echo "end-to-end: all passed" || echo "end-to-end: $failures failed"
exit $((failures > 0))
