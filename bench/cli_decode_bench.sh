#!/usr/bin/env bash
# Times `kobrix-cli decode --json` over a directory of 100,000 names (empty files), against
# plain `ls -1` of the same directory as the floor. Each time is the best of RUNS runs (default
# 9), taken in turns when a second build is given, so that other work on the machine weighs
# on both alike.
# Usage: bench/cli_decode_bench.sh [BUILD_DIR [OTHER_BUILD_DIR]]
set -euo pipefail
build="${1:-$(dirname "$0")/../build}"
other="${2:-}"
runs="${RUNS:-9}"
dir="${TMPDIR:-/tmp}/kobrix-bench-100k"
if [ ! -f "$dir.complete" ]; then
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && awk 'BEGIN { for (i = 0; i < 100000; i++)
      printf "2%s%09dEFFAUCTP%04d%s%dM1.jpg\n", substr("PNFRM", i % 5 + 1, 1), 241328935 + i * 61,
             i % 10000, (i % 2 ? "R" : "L"), i % 8 + 1 }' | xargs touch)
  touch "$dir.complete"
fi
time_of() { local s e; s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc; }
min() { echo "if ($1 < $2) $1 else $2" | bc; }
decode() { LC_ALL=C TZ=Europe/Berlin time_of "$1/cli/kobrix-cli" decode --json "$dir"; }
base=$(time_of ls -1 -f "$dir")
best=999
best_other=999
for _ in $(seq "$runs"); do
  best=$(min "$best" "$(decode "$build")")
  if [ -n "$other" ]; then best_other=$(min "$best_other" "$(decode "$other")"); fi
done
lines=$(LC_ALL=C TZ=Europe/Berlin "$build/cli/kobrix-cli" decode --json "$dir" | wc -l)
printf 'records: %s\nls -1 -f: %.3f s\n' "$lines" "$base"
printf '%s decode --json: %.3f s (%.0f names/s)\n' "$build" "$best" "$(echo "$lines / $best" | bc -l)"
if [ -n "$other" ]; then
  if ! cmp -s <(LC_ALL=C TZ=Europe/Berlin "$build/cli/kobrix-cli" decode --json "$dir") \
              <(LC_ALL=C TZ=Europe/Berlin "$other/cli/kobrix-cli" decode --json "$dir"); then
    echo "the two builds print different records" >&2
    exit 1
  fi
  printf '%s decode --json: %.3f s (%.0f names/s), the same records\n' "$other" "$best_other" \
    "$(echo "$lines / $best_other" | bc -l)"
fi
