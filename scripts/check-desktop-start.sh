#!/usr/bin/env bash
# Starts the desktop program on a real X server (Xvfb), as a user's desktop starts it, twice:
# once on the sample pictures in a program directory of its own, ending as soon as the window
# is up, and once making the window gallery. The gallery must save a picture of every window
# and leave the user's home, the current folder and the clipboard alone.
# Usage: scripts/check-desktop-start.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")
unset QT_QPA_PLATFORM
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

# A program directory whose working tree exists: nobody could answer its questions here.
home="$work/Kobrix2007"
for d in ImageCategories/Anaglyphs ImageCategories/Colour/456_RGB All-MER-Images \
         Traverse-Maps/Opportunity Traverse-Maps/Spirit AVIsource AVIoutput \
         ImageCategories/Clipboard Tagged; do
  mkdir -p "$home/$d"
done
cp "$build"/samples/* "$home/"
(cd "$work" && timeout 120 "${xvfb[@]}" "$build/app/kobrix" "$home" --quit-after-start)
echo "the desktop program started and ended"

# The gallery, from a folder of the user's, with a home that must stay empty and a temporary
# directory that must be empty again afterwards.
mkdir -p "$work/user/home" "$work/user/here" "$work/tmp"
touch "$work/stamp"
(cd "$work/user/here" && HOME="$work/user/home" TMPDIR="$work/tmp" timeout 300 "${xvfb[@]}" \
  "$build/app/kobrix" --screenshots "$work/pictures" "$build/samples" >"$work/out.txt")
pictures=$(find "$work/pictures" -name '*.png' | wc -l)
grep -qx "$pictures pictures in $work/pictures" "$work/out.txt" ||
  { echo "$pictures pictures, but the program said: $(cat "$work/out.txt")"; exit 1; }
[ "$pictures" -ge 40 ] || { echo "only $pictures pictures"; exit 1; }
[ -z "$(ls -A "$work/user/here")" ] || { echo "the current folder was written to"; exit 1; }
left=$(find "$work/tmp" -mindepth 1 -maxdepth 1 -name 'kobrix*')
[ -z "$left" ] || { echo "left in the temporary directory: $left"; exit 1; }
leftover=$(find "$work/user/home" -mindepth 1 ! -path '*/.cache*' ! -path '*/.config*' \
  ! -path '*/.local*' | head -1)
[ -z "$leftover" ] || { echo "the home folder was written to: $leftover"; exit 1; }
if find "$build/app" -maxdepth 1 -newer "$work/stamp" -name '*.INI' | grep -q .; then
  echo "a settings file was written beside the program"
  exit 1
fi
echo "the gallery saved $pictures pictures"
