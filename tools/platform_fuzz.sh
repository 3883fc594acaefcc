#!/usr/bin/env bash
# The platform mutation runner under Wine: bash tools/platform_fuzz.sh SECONDS
# (also reached as bash tools/fuzz.sh platform SECONDS).
# Seeds: the files the test writers make (the fuzz seed corpora), the
# program's pictures and the sample images. A 24-bit display and an 8-bit
# palette display run side by side for SECONDS each, each in an Xvfb of its
# own and a Wine prefix of its own; the families share each display's time
# evenly. Findings land in $LUMBRA_BUILD/platform-fuzz/<depth>/findings.
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
cp "$work"/corpora/seeds-*/* "$root"/resources/pictures/*.{bmp,gif,ico} "$run_tree"/samples/*.* \
  "$seeds"/

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

# One display: its own Xvfb and Wine prefix, so the two can run side by
# side (one per core) without sharing a wineserver or a clipboard.
run_display() {
  local geometry=$1 depth=${1##*x}
  local out=$work/$depth
  wine_prefix=$build/wine-fuzz-$wine_arch-$depth
  trap 'stop_wine; stop_xvfb' EXIT
  start_xvfb $((140 + depth)) "$geometry"
  start_wine
  mkdir -p "$out"
  "$wine" "$run_tree/tools/platform_fuzz.exe" run "$seconds" "$(windows_path "$seeds")" \
    "$(windows_path "$out")" </dev/null >"$out/report.txt" 2>"$out/log.txt"
}

pids=()
for geometry in 1024x768x24 800x600x8; do
  run_display "$geometry" &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for depth in 24 8; do
  echo "== ${depth}-bit display, $seconds s"
  cat "$work/$depth/log.txt" "$work/$depth/report.txt"
done
exit "$status"
