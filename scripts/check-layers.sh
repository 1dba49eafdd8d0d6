#!/usr/bin/env bash
# Keeps the folders in their layers: a file may include its own folder and the folders below
# it, never a folder above or beside its own, and a core file (no windows) includes no Qt.
# The layers, lowest first, are drawn in docs/architecture.md; the table below is the same.
# Prints the number of files that include upward and fails when there is any, or any Qt in
# the core.   scripts/check-layers.sh [SOURCE_ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# Folder (a feature folder's core is its core/ subfolder), its layer, and whether it is core.
layers='
imaging      0 core
decode       0 core
archive      1 core
browse       2 core
colour/core  3 core
movie/core   3 core
tools/core   3 core
pages/core   3 core
batch        4 core
platform     5 qt
cli          6 core
widgets      6 qt
colour       7 qt
movie        7 qt
tools        7 qt
pages        7 qt
app          8 qt
'

declare -A rank kind
while read -r unit level what; do
    [ -n "$unit" ] || continue
    rank[$unit]=$level
    kind[$unit]=$what
done <<<"$layers"

# Sets `unit` to the folder (or core subfolder) that a path lies in, or to nothing.
unit_of() {
    local top="${1%%/*}" rest="${1#*/}"
    unit=
    if [[ $rest == core/* && -n "${rank[$top/core]+x}" ]]; then
        unit="$top/core"
    elif [[ $1 == */* && -n "${rank[$top]+x}" ]]; then
        unit="$top"
    fi
}

upward=0
qt=0
folders=()
for unit in "${!rank[@]}"; do
    [ -d "${unit%%/*}" ] && folders+=("${unit%%/*}")
done
files=()
if [ ${#folders[@]} -gt 0 ]; then
    mapfile -t files < <(find $(printf '%s\n' "${folders[@]}" | sort -u) -type f \
        \( -name '*.h' -o -name '*.cpp' \) | sort)
fi
for file in "${files[@]}"; do
    unit_of "$file"
    own=$unit
    [ -n "$own" ] || continue
    bad=()
    while IFS= read -r included; do
        unit_of "$included"
        target=$unit
        [ -n "$target" ] || continue
        [ "$target" = "$own" ] && continue
        if [ "${rank[$target]}" -ge "${rank[$own]}" ]; then bad+=("$included"); fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    if [ ${#bad[@]} -gt 0 ]; then
        upward=$((upward + 1))
        echo "$file (${own}) includes from above or beside: ${bad[*]}" >&2
    fi
    if [ "${kind[$own]}" = core ] &&
        grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
        qt=$((qt + 1))
        echo "$file: a core file includes Qt" >&2
    fi
done
echo "files including a folder above their own: $upward"
echo "core files including Qt: $qt"
[ "$upward" -eq 0 ] && [ "$qt" -eq 0 ]
