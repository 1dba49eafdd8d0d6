#!/usr/bin/env bash
# Configures and builds into build/ (or $KOBRIX_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${KOBRIX_BUILD_DIR:-$here/build}"
generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then generator=(-G Ninja); fi
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
