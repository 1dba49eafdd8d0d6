#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ (or $KOBRIX_FUZZ_BUILD_DIR) and runs
# the fuzzer of each reader in turn for the given number of seconds (default 60), one process
# at a time. Usage: scripts/fuzz.sh [seconds] [jpeg|gif|bmp|movie|archive ...]
# Each run starts from the committed seeds in fuzz/corpus/<reader>/ plus what earlier runs
# found (build-fuzz/corpus/<reader>/); crashing inputs land in build-fuzz/findings/<reader>/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
[ $# -gt 0 ] && shift
readers=("$@")
[ ${#readers[@]} -eq 0 ] && readers=(jpeg gif bmp movie archive)
build="${KOBRIX_FUZZ_BUILD_DIR:-$here/build-fuzz}"

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then generator=(-G Ninja); fi
CC=clang CXX=clang++ cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOBRIX_BUILD_FUZZ=ON -DKOBRIX_BUILD_TESTS=OFF -DKOBRIX_BUILD_BENCH=OFF >/dev/null
targets=()
for reader in "${readers[@]}"; do targets+=("kobrix_fuzz_$reader"); done
cmake --build "$build" --target "${targets[@]}"

status=0
for reader in "${readers[@]}"; do
  mkdir -p "$build/corpus/$reader" "$build/findings/$reader"
  echo "== $reader: $seconds s"
  # Pictures may be up to 1 GiB by design, so the memory limits leave room for one of them.
  "$build/fuzz/kobrix_fuzz_$reader" -max_total_time="$seconds" -timeout=30 \
    -rss_limit_mb=3072 -malloc_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$reader/" \
    "$build/corpus/$reader" "$here/fuzz/corpus/$reader" || status=1
done
exit $status
