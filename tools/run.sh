#!/usr/bin/env bash
# Builds lumbra.exe and runs it under Wine (starting Xvfb when there is no
# display). Arguments are passed to the program; without any, it opens the
# sample images the build makes.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'echo "run.sh: this step failed: $BASH_COMMAND" >&2' ERR

bootstrap
build_host
build_cross

if [ -z "${DISPLAY:-}" ]; then
  start_xvfb 80
  trap 'stop_wine; stop_xvfb' EXIT
fi
# No persistent server: on a desktop the next run finds nothing left over.
start_wine transient

args=("$@")
if [ ${#args[@]} -eq 0 ] && [ -d "$run_tree/samples" ]; then
  args=("$("$wine" winepath -w "$run_tree/samples")\\")
fi
cd "$run_tree"
rc=0
"$wine" ./lumbra.exe "${args[@]}" || rc=$?
if [ "$rc" -ne 0 ]; then
  echo "run.sh: lumbra.exe ended with exit code $rc; its settings: $run_tree/LUMBRA.INI" >&2
  exit "$rc"
fi
echo "lumbra.exe ended; its settings: $run_tree/LUMBRA.INI"
