#!/bin/sh
# Installs the build into a scratch folder and checks that every installed file is in its XDG
# place and that the desktop entry starts the installed program.
set -eu
build=$1
dest=$(mktemp -d "${TMPDIR:-/tmp}/solvara-install.XXXXXX")
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/solvara usr/libexec/solvara/ns_helper; do
    [ -x "$dest/$f" ] || { echo "missing or not executable: $f"; exit 1; }
done
# The plugins where the program looks for them: the library folder the build chose.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
for f in solvara-charts.so solvara-audio.so; do
    [ -f "$dest/usr/${libdir:-lib}/solvara/$f" ] || { echo "missing: usr/${libdir:-lib}/solvara/$f"; exit 1; }
done
for f in usr/share/applications/solvara.desktop usr/share/icons/hicolor/scalable/apps/solvara.svg; do
    [ -f "$dest/$f" ] || { echo "missing: $f"; exit 1; }
done
grep -qx 'Exec=/usr/bin/solvara' "$dest/usr/share/applications/solvara.desktop" || { echo "wrong Exec line"; exit 1; }
grep -qx 'Icon=solvara' "$dest/usr/share/applications/solvara.desktop" || { echo "wrong Icon line"; exit 1; }
echo "install layout: ok"
