#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
#   ./test.sh              the normal build in build/
#   ./test.sh --sanitize   a clang build with AddressSanitizer and UndefinedBehaviorSanitizer
#                          in build-sanitize/ (or $KOBRIX_SANITIZE_BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/check-format.sh
./scripts/check-layers.sh
if [ "${1:-}" = "--sanitize" ]; then
  export KOBRIX_BUILD_DIR="${KOBRIX_SANITIZE_BUILD_DIR:-build-sanitize}"
  CC=clang CXX=clang++ ./scripts/build.sh -DKOBRIX_WERROR=ON -DKOBRIX_SANITIZE=ON \
    -DKOBRIX_BUILD_BENCH=OFF
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  # Qt and the system libraries keep some allocations for the life of the process.
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
else
  ./scripts/build.sh -DKOBRIX_WERROR=ON
fi
cd "${KOBRIX_BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
