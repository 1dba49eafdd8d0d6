#!/usr/bin/env bash
# Times `kobrix-cli pairs` over 200 stereo pairs of 1024 x 1024 JPEGs of a grey test pattern
# (made once with ffmpeg) with one thread and with two, each the best of RUNS runs (default 3) taken in
# turns, and prints the speed-up and the time a pair.
# Usage: bench/pairs_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-$(dirname "$0")/../build}"
cli="$build/cli/kobrix-cli"
runs="${RUNS:-3}"
dir="${TMPDIR:-/tmp}/kobrix-bench-pairs"
if [ ! -f "$dir.complete" ]; then
  rm -rf "$dir" && mkdir -p "$dir/frames" "$dir/in"
  ffmpeg -loglevel error -f lavfi -i testsrc2=size=1024x1024:rate=25 -frames:v 400 \
    -pix_fmt gray -q:v 2 "$dir/frames/%03d.jpg"
  for i in $(seq 0 199); do
    clock=$((241328935 + i * 97))
    mv "$dir/frames/$(printf %03d $((2 * i + 1))).jpg" "$dir/in/2P${clock}EFFAUCTP2582L5M1.jpg"
    mv "$dir/frames/$(printf %03d $((2 * i + 2))).jpg" "$dir/in/2P${clock}EFFAUCTP2582R5M1.jpg"
  done
  rmdir "$dir/frames"
  touch "$dir.complete"
fi
time_of() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
min() { echo "if ($1 < $2) $1 else $2" | bc; }
one=999
two=999
for _ in $(seq "$runs"); do
  one=$(min "$one" "$(time_of "$cli" pairs "$dir/in" -o "$dir/out1" --jobs 1 --force)")
  two=$(min "$two" "$(time_of "$cli" pairs "$dir/in" -o "$dir/out2" --jobs 2 --force)")
done
cmp -s <(cd "$dir/out1" && cat $(ls)) <(cd "$dir/out2" && cat $(ls)) ||
  { echo "one and two threads wrote different files" >&2; exit 1; }
printf '200 pairs, --jobs 1: %.2f s (%.1f ms a pair)\n' "$one" "$(echo "$one * 5" | bc -l)"
printf '200 pairs, --jobs 2: %.2f s, %.2fx faster\n' "$two" "$(echo "$one / $two" | bc -l)"
