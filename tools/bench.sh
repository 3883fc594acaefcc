#!/usr/bin/env bash
# Builds the benchmarks (optimised, without sanitizers) and runs every one
# of them: each *_bench program of bench/, in name order. Each measures
# Lumbra against a peer in the same run; their own output goes to
# $LUMBRA_BUILD/bench.log, and one table of all their rows is printed.
# A new benchmark needs only its part in bench/ (a *_bench executable that
# prints its rows with bench/bench_table.h).
set -uo pipefail
source "$(dirname "$0")/common.sh"

bootstrap || exit 1
tree=$build/bench
if [ ! -f "$tree/build.ninja" ]; then
  cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMBRA_BENCH=ON \
    -DLUMBRA_SANITIZE=OFF >/dev/null || exit 1
fi
cmake --build "$tree" --target benchmarks -- -j2 || exit 1

log=$build/bench.log
: >"$log"
failed=0
for program in "$tree"/bench/*_bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")" | tee -a "$log" >&2
  if ! "$program" >>"$log" 2>&1; then
    echo "$(basename "$program") failed; see $log" >&2
    failed=1
  fi
done

echo
awk -F'\t' '
  BEGIN { printf "%-46s %12s  %-18s %12s  %6s\n", "Measured", "Lumbra", "Peer", "Peer time", "Ratio" }
  $1 == "@row" { printf "%-46s %12s  %-18s %12s  %6s\n", $2, $3, $4, $5, $6 }
  END { print "Ratio: Lumbra'"'"'s time over the peer'"'"'s, measured in the same run (below 1: Lumbra faster)." }
' "$log"
exit $failed
