#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program on the bundled sample
# images. Without a display it runs the program under Xvfb, saves a screenshot of the main
# window and prints where it is.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
build="$(cd "${KOBRIX_BUILD_DIR:-build}" && pwd)"
home="${KOBRIX_HOME:-$HOME/Kobrix2007}"
mkdir -p "$home/All-MER-Images"
cp -n "$build"/samples/* "$home"/ 2>/dev/null || true
cp -n "$build"/samples/* "$home"/All-MER-Images/ 2>/dev/null || true
first=$(cd "$home" && ls -1 | grep -m1 -E '^2P.*L5M1\.jpg$' || true)

if [ -n "${DISPLAY:-}" ]; then
  cd "$home"
  exec "$build/app/kobrix" "$home" ${first:+--select "$first"}
fi

# Nobody can answer the first start's directory questions here: make the tree beforehand.
for d in ImageCategories/Anaglyphs ImageCategories/Colour/456_RGB All-MER-Images \
         Traverse-Maps/Opportunity Traverse-Maps/Spirit AVIsource AVIoutput \
         ImageCategories/Clipboard Tagged; do
  mkdir -p "$home/$d"
done
shot="$build/screenshots/main-window.png"
mkdir -p "$(dirname "$shot")"
echo "No display: running the program under Xvfb for a screenshot."
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$1" && "$2/app/kobrix" "$1" ${4:+--select "$4"} 2>/dev/null &
  pid=$!
  sleep 5
  # The Directories window opens once after start-up; bring the main window to the front.
  main=$(xdotool search --name "^KOBRIX 2007\.    Mars" 2>/dev/null | head -n 1)
  [ -n "$main" ] && xdotool windowraise "$main" && sleep 1
  import -window root "$3"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$home" "$build" "$shot" "$first"
echo "Screenshot of the main window: $shot"
echo "On a desktop, run: (cd \"$home\" && \"$build/app/kobrix\")"
