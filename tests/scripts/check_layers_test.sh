#!/usr/bin/env bash
# The layer check on small trees: what it lets through, what it refuses and what it counts.
#   check_layers_test.sh PATH/TO/check-layers.sh
set -uo pipefail
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

put() {  # put FILE LINE... : a source file with these lines
    local file="$tree/$1"
    shift
    mkdir -p "$(dirname "$file")"
    printf '%s\n' "$@" >"$file"
}
expect() {  # expect STATUS COUNT TEXT... : the check's status, count line and messages
    local status=$1 count=$2 output
    shift 2
    output=$("$check" "$tree" 2>&1)
    local got=$?
    if [ "$got" -ne "$status" ]; then
        echo "FAIL: status $got, expected $status"$'\n'"$output"
        failures=$((failures + 1))
    fi
    if ! grep -qx "files including a folder above their own: $count" <<<"$output"; then
        echo "FAIL: expected a count of $count"$'\n'"$output"
        failures=$((failures + 1))
    fi
    for text in "$@"; do
        if ! grep -qF "$text" <<<"$output"; then
            echo "FAIL: no \"$text\" in"$'\n'"$output"
            failures=$((failures + 1))
        fi
    done
}

# Every folder using what lies below it (imaging and decode, side by side, use neither), windows with Qt, the command line with the C
# library's zone, a feature window with its own core: nothing to report.
put imaging/bitmap.h '#include <cstdint>'
put decode/name.h '#include <string>'
put browse/list.cpp '#include "browse/list.h"' '#include "decode/name.h"'
put colour/core/mix.h '#include "browse/list.h"'
put colour/mix_window.cpp '#include <QWidget>' '#include "colour/core/mix.h"' \
    '#include "widgets/view.h"'
put batch/run.cpp '#include "colour/core/mix.h"'
put platform/zone.h '#include <ctime>'
put widgets/view.h '#include <QWidget>' '#include "platform/zone.h"'
put cli/main.cpp '#include "batch/run.cpp"' '#include "platform/zone.h"'
put app/main_window.cpp '#include "colour/mix_window.h"' '#include "tools/lens_window.h"'
put tests/browse/list_test.cpp '#include "app/main_window.h"' '#include <QTest>'
expect 0 0

# Upward or beside: the browsing core reaching into the main window's folder, a core into its
# own windows, one tool window into another's folder, the command line into the windows, the
# decoder into the pictures beside it.
put browse/list.h '#include "app/main_window.h"'
put decode/name.cpp '#include "imaging/bitmap.h"'
put colour/core/mix.cpp '  #  include "colour/mix_window.h"  // indented'
put tools/lens_window.cpp '#include "colour/mix_window.h"'
put cli/colour_command.cpp '#include "colour/core/mix.h"' '#include "widgets/view.h"'
expect 1 5 "browse/list.h (browse) includes from above or beside: app/main_window.h" \
    "colour/core/mix.cpp" "tools/lens_window.cpp" "decode/name.cpp" \
    "cli/colour_command.cpp (cli) includes from above or beside: widgets/view.h"

# Qt in a core file, and in the command line, is refused even without an upward include.
rm -rf "${tree:?}"/*
put decode/time_page.h '#include <QString>'
put cli/main.cpp '#include <QCoreApplication>'
put pages/time_page.h '#include <QString>' '#include "decode/time_page.h"'
expect 1 0 "decode/time_page.h: a core file includes Qt" "cli/main.cpp: a core file includes Qt"

# A path that merely mentions a folder, and an include of a file outside every folder.
rm -rf "${tree:?}"/*
put browse/texts.cpp '// see app/main_window.cpp' '#include "third_party/app/x.h"' \
    'const char* p = "#include \"app/x.h\"";'
expect 0 0

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all passed"
