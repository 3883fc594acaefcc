#!/usr/bin/env bash
# Builds the cross trees and runs the benchmarks that run under Wine
# (bench/wine) inside an Xvfb started and stopped here. Without arguments
# it runs every one; otherwise the ones named (e.g. list_bench).
set -euo pipefail
source "$(dirname "$0")/common.sh"

bootstrap
build_host
build_cross

benches=("$@")
if [ ${#benches[@]} -eq 0 ]; then
  for part in "$root"/bench/wine/*.cmake; do benches+=("$(basename "$part" .cmake)"); done
fi

start_xvfb 95
start_wine
trap 'stop_wine; stop_xvfb' EXIT
for bench in "${benches[@]}"; do
  echo "== $bench ($wine_arch)"
  (cd "$run_tree/bench/wine" && "$wine" "./$bench.exe")
done
