#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on the bundled sample images.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
build="${KOBRIX_BUILD_DIR:-build}"
samples="$build/samples"
if [ -d "$samples" ] && [ -n "$(ls -A "$samples" 2>/dev/null)" ]; then
  "$build/cli/kobrix-cli" decode "$samples"
else
  "$build/cli/kobrix-cli" decode 2P241328935EFFAUCTP2582L5M1.jpg \
    1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg 2N127168412SLN0211P1515L0M1.JPG
fi
echo
echo "The desktop program comes next; for now this is the command-line decoder (kobrix-cli)."
