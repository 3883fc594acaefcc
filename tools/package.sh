#!/usr/bin/env bash
# Builds the release lumbra.exe (i686, stripped) and writes the package for
# people on Windows: build/lumbra-1.0-win32.zip (or the path given) holding
# lumbra.exe, its help page and a short text on what it is.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'echo "package.sh: this step failed: $BASH_COMMAND" >&2' ERR

version=1.0
out=${1:-$build/lumbra-$version-win32.zip}
case $out in /*) ;; *) out=$PWD/$out ;; esac

bootstrap
build_host
build_cross_tree "$cross_tree" i686 lumbra

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
i686-w64-mingw32-strip -o "$stage/lumbra.exe" "$cross_tree/lumbra.exe"
cp "$root/resources/lbhelp.htm" "$stage/lbhelp.htm"
# Windows readers expect CR LF line ends in a text file.
sed 's/$/\r/' >"$stage/README.TXT" <<EOF
Lumbra $version, an image viewer for Windows

Lumbra shows BMP, icon and cursor, placeable WMF, PCX, GIF (interlaced,
transparent and animated) and JPEG pictures. Open a picture, drop files on
its window or load a whole folder, then step through the pictures with
Space and Backspace, in four display modes with zoom.

To run it, unzip this package into any folder and start lumbra.exe. Nothing
is installed and nothing is written elsewhere: the settings are kept in the
file LUMBRA.INI, which Lumbra writes in the folder of lumbra.exe (so that
folder must be writable). Delete LUMBRA.INI to go back to the defaults;
delete the folder to remove Lumbra.

Help > Contents opens lbhelp.htm, which stands beside lumbra.exe.
EOF

mkdir -p "$(dirname "$out")"
rm -f "$out"
(cd "$stage" && zip -q -X "$out" lumbra.exe lbhelp.htm README.TXT)
echo "package.sh: wrote $out"
unzip -l "$out"
