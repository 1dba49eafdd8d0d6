#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what an installation must carry: the
# two programs, the movie module, the desktop entry, the icons, the metainfo, the manual page
# and the samples; validates the desktop entry and the metainfo; runs the installed programs
# from there, a movie too, and checks that neither program links FFmpeg itself.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build="$1"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root="$dest/usr"
missing=0
for f in bin/kobrix bin/kobrix-cli lib/kobrix/libkobrix_ffmpeg.so share/applications/kobrix.desktop \
         share/metainfo/io.github.kobrix.Kobrix2007.metainfo.xml \
         share/icons/hicolor/scalable/apps/kobrix.svg share/man/man1/kobrix-cli.1 \
         share/kobrix/samples/2P241328935EFFAUCTP2582L5M1.jpg; do
  [ -e "$root/$f" ] || { echo "missing: $f"; missing=1; }
done
for size in 16 32 48 64 128 256; do
  [ -e "$root/share/icons/hicolor/${size}x${size}/apps/kobrix.png" ] || {
    echo "missing: ${size}x${size} icon"; missing=1; }
done
[ $missing -eq 0 ]
desktop-file-validate "$root/share/applications/kobrix.desktop"
appstreamcli validate --no-net --pedantic "$root/share/metainfo/io.github.kobrix.Kobrix2007.metainfo.xml" >/dev/null \
  || appstreamcli validate --no-net "$root/share/metainfo/io.github.kobrix.Kobrix2007.metainfo.xml"
man -l "$root/share/man/man1/kobrix-cli.1" >/dev/null 2>&1 || groff -man -Tutf8 "$root/share/man/man1/kobrix-cli.1" >/dev/null
"$root/bin/kobrix-cli" --help | grep -q "kobrix-cli COMMAND"
# FFmpeg is loaded from the module when a movie is opened, never at start.
for program in kobrix kobrix-cli; do
  if readelf -d "$root/bin/$program" | grep -E 'NEEDED.*lib(av|sw)[a-z]*\.so'; then
    echo "$program links FFmpeg"; exit 1
  fi
done
movie="$dest/movie"
mkdir -p "$movie/frames"
cp "$root"/share/kobrix/samples/2P241328935EFFAUCTP2582L5M1.jpg "$movie/frames/a.jpg"
cp "$root"/share/kobrix/samples/2P241328935EFFAUCTP2582L5M1.jpg "$movie/frames/b.jpg"
"$root/bin/kobrix-cli" movie "$movie/frames" -o "$movie/m.avi" >/dev/null
"$root/bin/kobrix-cli" frames "$movie/m.avi" | grep -q "2 frames decoded"
# The installed program starts on the installed samples, in a program directory whose working
# tree exists (nobody could answer its questions here).
work="$dest/Kobrix2007"
for d in ImageCategories/Anaglyphs ImageCategories/Colour/456_RGB All-MER-Images \
         Traverse-Maps/Opportunity Traverse-Maps/Spirit AVIsource AVIoutput \
         ImageCategories/Clipboard Tagged; do
  mkdir -p "$work/$d"
done
cp "$root"/share/kobrix/samples/* "$work/"
QT_QPA_PLATFORM=offscreen timeout 60 "$root/bin/kobrix" "$work" --quit-after-start >/dev/null 2>&1
echo "install check passed"
