#!/bin/sh
# Times vindrel-render against SoX making a comparable signal (nine sines
# mixed, 1 Hz full-depth tremolo, an echo) for the same length of sound, in
# the same run, and prints the ratio. Usage: bench/compare_sox.sh [seconds]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
render=${VINDREL_RENDER:-build/tools/vindrel-render}
[ -x "$render" ] || { echo "build first: $render is missing"; exit 1; }
command -v sox >/dev/null || {
    echo "installing sox"
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q && $SUDO apt-get install -y -q --no-install-recommends sox
}
blocks=$(( (seconds * 48000 + 1023) / 1024 ))

now() { date +%s.%N; }
run_vindrel() {
    "$render" --tones 174,285,396,417,528,639,741,852,963 --lfo --delay --delay-ms 1000 \
        --blocks "$blocks" --output /dev/null
}
run_sox() {
    sox -q -n -r 48000 -b 16 -c 9 -t raw /dev/null \
        synth "$seconds" sine 174 sine 285 sine 396 sine 417 sine 528 sine 639 sine 741 \
        sine 852 sine 963 remix 1-9 1-9 tremolo 1 100 echo 0.8 0.5 1000 0.5
}

best() { # best of three wall-clock times of a function
    b=""
    for _ in 1 2 3; do
        t0=$(now); "$1"; t1=$(now)
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" -eq 1 ]; then b=$t; fi
    done
    echo "$b"
}

tv=$(best run_vindrel)
ts=$(best run_sox)
printf 'sound: %s s (%s blocks of 1024 frames, 48000 Hz stereo)\n' "$seconds" "$blocks"
printf 'vindrel-render: %.3f s (%.0fx real time)\n' "$tv" "$(echo "$seconds / $tv" | bc -l)"
printf 'sox:            %.3f s (%.0fx real time)\n' "$ts" "$(echo "$seconds / $ts" | bc -l)"
printf 'ratio sox/vindrel: %.2f\n' "$(echo "$ts / $tv" | bc -l)"
