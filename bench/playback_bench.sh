#!/usr/bin/env bash
# Decoding every frame of a 60-frame 1024 x 1024 movie: kobrix-cli frames (the player's
# decoder, frames converted to 24-bit pictures) against ffmpeg decoding the same file to its
# null output, raw and MJPEG, paired runs with farm-bench. Usage: bench/playback_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -f lavfi -i testsrc=size=1024x1024:rate=30 -frames:v 60 -c:v rawvideo \
  -pix_fmt bgr24 "$work/raw.avi"
ffmpeg -v error -i "$work/raw.avi" -c:v mjpeg -q:v 3 "$work/mjpeg.avi"
for movie in raw mjpeg; do
  echo "== $movie"
  farm-bench -n 7 --vs "ffmpeg -nostdin -v error -i $work/$movie.avi -f null -" \
    -- "$build/cli/kobrix-cli" frames "$work/$movie.avi"
done
