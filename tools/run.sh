#!/usr/bin/env bash
# Builds lumbra.exe and runs it under Wine (starting Xvfb when there is no
# display). Arguments are passed to the program; without any, it opens the
# sample images the build makes.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bootstrap
build_host
build_cross

if [ -z "${DISPLAY:-}" ]; then
  start_xvfb 80
  trap 'stop_wine; stop_xvfb' EXIT
fi
start_wine

args=("$@")
if [ ${#args[@]} -eq 0 ] && [ -d "$run_tree/samples" ]; then
  args=("$("$wine" winepath -w "$run_tree/samples")\\")
fi
cd "$run_tree"
"$wine" ./lumbra.exe "${args[@]}"
echo "lumbra.exe ended; its settings: $run_tree/LUMBRA.INI"
