#!/usr/bin/env bash
# Fails when a C++ source differs from the project's .clang-format (clang-format 14, as the
# install script installs it). Run clang-format -i on the files it names to fix them.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o -path './build-*' -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print)
fi
"$format" --dry-run -Werror "${files[@]}"
