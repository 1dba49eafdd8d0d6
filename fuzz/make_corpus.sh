#!/usr/bin/env bash
# Rebuilds the seed corpora in fuzz/corpus/ with ImageMagick: a few tiny valid pictures of
# each variant the readers handle, and a few broken ones (cut short, header only, damaged).
# The committed files were made with it (and cjpeg of libjpeg-turbo-progs for restart markers
# and arithmetic coding); run again only to change the set.
set -euo pipefail
cd "$(dirname "$0")"
out=corpus
rm -rf "$out/jpeg" "$out/gif" "$out/bmp" "$out/movie"
mkdir -p "$out/jpeg" "$out/gif" "$out/bmp" "$out/movie"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

convert -seed 3 -size 16x12 plasma:fractal "$tmp/colour.png"
convert -size 16x12 gradient:gray20-gray90 "$tmp/grey.png"

# Cut-off and damaged copies of a valid file: $1 file, $2 stem in the corpus.
broken() {
  local size
  size=$(stat -c %s "$1")
  head -c $((size / 2)) "$1" >"$2-half"
  head -c 40 "$1" >"$2-header"
  cp "$1" "$2-damaged"
  printf '\377\377\000\377' | dd of="$2-damaged" bs=1 seek=$((size * 2 / 3)) conv=notrunc status=none
}

j="$out/jpeg"
convert "$tmp/colour.png" -quality 75 "$j/baseline-420.jpg"
convert "$tmp/colour.png" -quality 100 -sampling-factor 1x1 "$j/quality100-444.jpg"
convert "$tmp/colour.png" -sampling-factor 2x1 "$j/sampling-422.jpg"
convert "$tmp/colour.png" -sampling-factor 4x1 "$j/sampling-411.jpg"
convert "$tmp/colour.png" -interlace JPEG "$j/progressive.jpg"
convert "$tmp/grey.png" -colorspace Gray "$j/grey.jpg"
convert "$tmp/grey.png" -colorspace Gray -interlace JPEG "$j/grey-progressive.jpg"
convert "$tmp/colour.png" -colorspace CMYK "$j/ycck.jpg"
if command -v cjpeg >/dev/null; then
  convert "$tmp/colour.png" "$tmp/colour.ppm"
  cjpeg -restart 1B "$tmp/colour.ppm" >"$j/restart.jpg"
  cjpeg -arithmetic -progressive "$tmp/colour.ppm" >"$j/arithmetic-progressive.jpg"
  cjpeg -sample 2x2,1x2,2x1 "$tmp/colour.ppm" >"$j/odd-sampling.jpg"
  # Single-scan arithmetic coding, whole and cut (its decoder hides missing data as zeros).
  convert -seed 5 -size 64x64 plasma:fractal "$tmp/arith.ppm"
  cjpeg -arithmetic "$tmp/arith.ppm" >"$j/arithmetic.jpg"
  broken "$j/arithmetic.jpg" "$j/broken-arithmetic"
fi
convert "$tmp/colour.png" -define jpeg:optimize-coding=true -resize 13x7! "$j/odd-size.jpg"
broken "$j/baseline-420.jpg" "$j/broken-baseline"
broken "$j/progressive.jpg" "$j/broken-progressive"

g="$out/gif"
convert "$tmp/colour.png" -colors 64 "$g/still.gif"
convert "$tmp/colour.png" -colors 2 "$g/two-colours.gif"
convert "$tmp/colour.png" -colors 32 -interlace GIF "$g/interlaced.gif"
convert "$tmp/colour.png" -colors 16 -transparent "$(convert "$tmp/colour.png" -colors 16 -format '%[pixel:p{0,0}]' info:)" "$g/transparent.gif"
convert -delay 5 -dispose none -size 16x12 xc:red -dispose background -size 6x5 xc:blue \
  -repage +3+2 -dispose previous -size 5x5 xc:yellow -repage +10+6 -dispose none \
  "$tmp/grey.png" -colors 8 -repage 8x6+8+6 "$g/animated-disposals.gif"
convert -delay 10 "$tmp/colour.png" -colors 16 \( "$tmp/grey.png" -colors 4 \) -loop 0 "$g/local-tables.gif"
broken "$g/animated-disposals.gif" "$g/broken-animated"
broken "$g/still.gif" "$g/broken-still"

b="$out/bmp"
convert "$tmp/colour.png" "bmp3:$b/rgb24.bmp"
convert "$tmp/colour.png" "bmp2:$b/core-header.bmp"
convert "$tmp/colour.png" -alpha on "bmp:$b/v5-argb32.bmp"
convert "$tmp/colour.png" -define bmp:subtype=RGB565 "bmp:$b/bitfields-565.bmp"
convert "$tmp/colour.png" -colors 200 -type Palette -compress None "bmp3:$b/palette8.bmp"
convert "$tmp/colour.png" -colors 200 -type Palette -compress RLE "bmp3:$b/rle8.bmp"
convert "$tmp/colour.png" -colors 12 -type Palette "bmp3:$b/palette4.bmp"
convert "$tmp/colour.png" -monochrome "bmp3:$b/mono1.bmp"
broken "$b/rgb24.bmp" "$b/broken-rgb24"
broken "$b/rle8.bmp" "$b/broken-rle8"

du -sh "$out"

# Movies, made with ffmpeg: raw (24-bit and palette), MJPEG and MPEG-4, and broken copies.
m="$out/movie"
ffmpeg -v error -f lavfi -i testsrc=size=16x12:rate=5 -frames:v 3 -c:v rawvideo -pix_fmt bgr24 "$m/raw.avi"
ffmpeg -v error -f lavfi -i testsrc=size=16x12:rate=5 -frames:v 3 -c:v mjpeg "$m/mjpeg.avi"
ffmpeg -v error -f lavfi -i testsrc=size=16x16:rate=5 -frames:v 3 -c:v mpeg4 "$m/mpeg4.avi"
ffmpeg -v error -f lavfi -i testsrc=size=16x16:rate=5 -frames:v 3 -c:v rawvideo -pix_fmt pal8 "$m/pal8.avi"
for f in raw mjpeg; do
  size=$(stat -c %s "$m/$f.avi")
  head -c $((size / 2)) "$m/$f.avi" >"$m/$f-half"
  head -c 60 "$m/$f.avi" >"$m/$f-header"
done
