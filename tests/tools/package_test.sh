#!/usr/bin/env bash
# The package for people on Windows, as tools/package.sh writes it: the
# program, its help page and a short text, the program a stripped PE32
# i686 executable.
# Usage: package_test.sh REPOSITORY BUILD_ROOT
set -euo pipefail
root=$1
export LUMBRA_BUILD=$2
out=$PWD/lumbra-test.zip
fail() { echo "FAIL: $*"; exit 1; }

rm -f "$out"
bash "$root/tools/package.sh" "$out" >package.log 2>&1 || { cat package.log; fail "package.sh ended with an error"; }
[ -f "$out" ] || fail "package.sh wrote no $out"

listing=$(unzip -Z1 "$out")
for f in lumbra.exe lbhelp.htm README.TXT; do
  grep -qx "$f" <<<"$listing" || fail "the package lacks $f (it holds: $listing)"
done

rm -rf unpacked && mkdir unpacked && unzip -q "$out" -d unpacked
headers=$(i686-w64-mingw32-objdump -f unpacked/lumbra.exe)
grep -q 'file format pei-i386' <<<"$headers" || fail "lumbra.exe is not PE32 i386: $headers"
sections=$(i686-w64-mingw32-objdump -h unpacked/lumbra.exe)
if grep -q '\.debug' <<<"$sections"; then fail "lumbra.exe still carries debug sections"; fi
cmp -s unpacked/lbhelp.htm "$root/resources/lbhelp.htm" || fail "lbhelp.htm differs from the help page"
grep -q 'LUMBRA.INI' unpacked/README.TXT || fail "README.TXT does not say where the settings are kept"
size=$(stat -c %s unpacked/lumbra.exe)
echo "package: $(wc -l <<<"$listing") files, lumbra.exe $size bytes"
