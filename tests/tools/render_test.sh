#!/bin/sh
# vindrel-render: deterministic output, exact sizes, WAV header, refusals that
# write nothing.
set -u
render=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$render" --tones 174,528,963 --wave noise --lfo --delay --delay-ms 300 --blocks 20 --output "$dir/a.raw" || fail "render a"
"$render" --tones 174,528,963 --wave noise --lfo --delay --delay-ms 300 --blocks 20 --output - > "$dir/b.raw" || fail "render b"
cmp -s "$dir/a.raw" "$dir/b.raw" || fail "two runs differ"
[ "$(wc -c < "$dir/a.raw")" -eq $((20 * 1024 * 4)) ] || fail "s16 size"

"$render" --tones 528 --format f32 --blocks 3 --output "$dir/c.wav" || fail "render wav"
[ "$(wc -c < "$dir/c.wav")" -eq $((44 + 3 * 1024 * 8)) ] || fail "f32 wav size"
[ "$(head -c 4 "$dir/c.wav")" = "RIFF" ] || fail "no RIFF header"

for bad in "--tones 500" "--tones 528,,174" "--wave saw" "--delay-ms 0" "--delay-ms 1001" \
           "--blocks x" "--blocks -1" "--format s24" "--frobnicate" "--blocks"; do
    # shellcheck disable=SC2086
    "$render" $bad --output "$dir/bad.raw" 2> "$dir/err"
    code=$?
    [ "$code" -eq 2 ] || fail "'$bad' exited $code"
    [ ! -e "$dir/bad.raw" ] || fail "'$bad' wrote output"
    [ "$(wc -l < "$dir/err")" -eq 1 ] || fail "'$bad' message is not one line"
done
echo "render tests passed"
