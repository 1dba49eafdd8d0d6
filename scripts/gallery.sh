#!/usr/bin/env bash
# Makes the window gallery of the README in one command: starts the program under Xvfb
# (1280 x 1024) with `--screenshots`, which puts every window to work on a copy of the sample
# pictures in a temporary program directory of its own and saves a picture of each, then
# writes a small copy of each picture to docs/screenshots/ and the gallery table into the
# README between its gallery marks. Usage: scripts/gallery.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && xvfb-run -a -s "-screen 0 1280x1024x24" "$build/app/kobrix" \
  --screenshots "$work/full" "$build/samples" 2>"$work/messages.txt") ||
  { cat "$work/messages.txt" >&2; exit 1; }
out="$here/docs/screenshots"
# Only the gallery's own numbered pictures go; other screenshots stay.
rm -f "$out"/[0-9][0-9]-*.png
mkdir -p "$out"
{
  echo "| | | |"
  echo "|---|---|---|"
  row=()
  for picture in "$work"/full/*.png; do
    name="$(basename "$picture")"
    convert "$picture" -resize '640x640>' -strip -colors 192 "PNG8:$out/$name"
    title="${name%.png}"
    title="${title#*-}"
    row+=("![${title//-/ }](docs/screenshots/$name)<br>${title//-/ }")
    if [ ${#row[@]} -eq 3 ]; then
      echo "| ${row[0]} | ${row[1]} | ${row[2]} |"
      row=()
    fi
  done
  # A last, shorter row keeps the table's three cells.
  if [ ${#row[@]} -gt 0 ]; then
    while [ ${#row[@]} -lt 3 ]; do row+=(" "); done
    echo "| ${row[0]} | ${row[1]} | ${row[2]} |"
  fi
} >"$work/gallery.md"
python3 - "$here/README.md" "$work/gallery.md" <<'PY'
import sys
readme, table = sys.argv[1], open(sys.argv[2]).read()
text = open(readme).read()
start, end = "<!-- gallery -->\n", "<!-- /gallery -->"
a, b = text.index(start) + len(start), text.index(end)
open(readme, "w").write(text[:a] + table + text[b:])
PY
echo "$(ls "$out"/[0-9][0-9]-*.png | wc -l) pictures in $out"
