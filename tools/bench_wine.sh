#!/usr/bin/env bash
# Builds the cross trees and runs the benchmarks that run under Wine inside
# an Xvfb and a Wine prefix started and stopped here. Without arguments it
# runs every *_bench program of the cross tree's bench/ and bench/wine;
# otherwise the ones named (e.g. list_bench viewer_start_bench). Each runs
# in its own folder under a time limit, the rest run when one fails, and
# the exit code says whether any failed. tools/bench.sh runs it too.
set -uo pipefail
source "$(dirname "$0")/common.sh"

# What one benchmark may take before it counts as hung.
limit=1800

bootstrap || exit 1
build_host || exit 1
build_cross || exit 1

programs=()
if [ $# -eq 0 ]; then
  for program in "$run_tree"/bench/*_bench.exe "$run_tree"/bench/wine/*_bench.exe; do
    [ -f "$program" ] && programs+=("$program")
  done
else
  for name in "$@"; do
    program=
    for folder in "$run_tree/bench" "$run_tree/bench/wine"; do
      [ -f "$folder/$name.exe" ] && program=$folder/$name.exe
    done
    if [ -z "$program" ]; then
      echo "no benchmark $name in $run_tree/bench" >&2
      exit 1
    fi
    programs+=("$program")
  done
fi

# The first display number tried (the next free one is taken).
start_xvfb "${LUMBRA_BENCH_DISPLAY:-95}"
start_wine
trap 'stop_wine; stop_xvfb' EXIT
failed=0
for program in "${programs[@]}"; do
  name=$(basename "$program" .exe)
  echo "== $name ($wine_arch)"
  if ! (cd "$(dirname "$program")" && timeout "$limit" "$wine" "./$name.exe"); then
    echo "$name failed"
    failed=1
  fi
done
exit $failed
