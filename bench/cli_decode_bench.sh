#!/usr/bin/env bash
# Times `kobrix-cli decode --json` over a directory of 100,000 names (empty files), against
# plain `ls -1` of the same directory as the floor. Usage: bench/cli_decode_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-$(dirname "$0")/../build}"
cli="$build/cli/kobrix-cli"
dir="${TMPDIR:-/tmp}/kobrix-bench-100k"
if [ ! -f "$dir.complete" ]; then
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && awk 'BEGIN { for (i = 0; i < 100000; i++)
      printf "2%s%09dEFFAUCTP%04d%s%dM1.jpg\n", substr("PNFRM", i % 5 + 1, 1), 241328935 + i * 61,
             i % 10000, (i % 2 ? "R" : "L"), i % 8 + 1 }' | xargs touch)
  touch "$dir.complete"
fi
time_of() { local s e; s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc; }
base=$(time_of ls -1 -f "$dir")
json=$(LC_ALL=C TZ=Europe/Berlin time_of "$cli" decode --json "$dir")
lines=$(LC_ALL=C TZ=Europe/Berlin "$cli" decode --json "$dir" | wc -l)
printf 'records: %s\nls -1 -f: %.3f s\nkobrix-cli decode --json: %.3f s (%.0f names/s)\n' \
  "$lines" "$base" "$json" "$(echo "$lines / $json" | bc -l)"
