#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick when all
# are present; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libjpeg62-turbo-dev libgif-dev libgdal-dev gdal-bin
  qt6-base-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format-14
  fonts-dejavu-core fonts-wqy-microhei fonts-tlwg-garuda-ttf
  imagemagick xvfb xauth xdotool fonts-liberation ffmpeg
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  desktop-file-utils appstream dpkg-dev groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
