#!/usr/bin/env bash
# Writing a movie of 120 BMP frames of 1024 x 1024: kobrix-cli movie against ffmpeg writing
# the same frames as raw video, each run five times; prints the median wall times and their
# ratio. Usage: bench/movie_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/frames"
ffmpeg -v error -f lavfi -i testsrc=size=1024x1024:rate=1 -frames:v 120 -pix_fmt bgr24 \
  "$work/frames/frame%04d.bmp"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_runs() {
  for _ in 1 2 3 4 5; do
    rm -f "$work"/*.avi
    sync
    /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -n 1
  done | median
}
ours=$(time_runs "$build/cli/kobrix-cli" movie "$work/frames" -o "$work/ours.avi")
theirs=$(time_runs ffmpeg -v error -y -i "$work/frames/frame%04d.bmp" -c:v rawvideo \
  "$work/ffmpeg.avi")
echo "kobrix-cli movie: ${ours} s (median of 5)"
echo "ffmpeg rawvideo:  ${theirs} s (median of 5)"
awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "ratio: %.2f (below 1: faster than ffmpeg)\n", a / b}'
