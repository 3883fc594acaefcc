#!/usr/bin/env bash
# The platform mutation runner under Wine: bash tools/platform_fuzz.sh SECONDS
# (also reached as bash tools/fuzz.sh platform SECONDS).
# Seeds: the files the test writers make (the fuzz seed corpora) and the
# program's pictures. Half the time runs on a 24-bit display, half on an
# 8-bit palette display, each in an Xvfb of its own and a Wine prefix of
# its own. Findings land in $LUMBRA_BUILD/platform-fuzz/<depth>/findings.
set -euo pipefail
source "$(dirname "$0")/common.sh"
seconds=${1:?usage: platform_fuzz.sh SECONDS}

bootstrap >/dev/null
build_host >/dev/null
build_fuzz >/dev/null
build_cross >/dev/null
cmake --build "$run_tree" --target platform_fuzz >/dev/null

work=$build/platform-fuzz
seeds=$work/seeds
rm -rf "$seeds" && mkdir -p "$seeds" "$work/corpora"
"$fuzz_tree/fuzz/fuzz_seeds" "$work/corpora"
cp "$work"/corpora/seeds-*/* "$root"/resources/pictures/*.{bmp,gif,ico} "$seeds"/

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
wine_prefix=$build/wine-fuzz-$wine_arch
trap 'stop_wine; stop_xvfb' EXIT
half=$(( (seconds + 1) / 2 ))
for geometry in 1024x768x24 800x600x8; do
  depth=${geometry##*x}
  start_xvfb 140 "$geometry"
  start_wine
  out=$work/$depth
  mkdir -p "$out"
  echo "== $geometry display, $half s"
  "$wine" "$run_tree/tools/platform_fuzz.exe" run "$half" "$(windows_path "$seeds")" \
    "$(windows_path "$out")" </dev/null
  stop_wine
  stop_xvfb
done
