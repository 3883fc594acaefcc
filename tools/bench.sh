#!/usr/bin/env bash
# Runs every benchmark of the project and prints one table of all their
# rows. First the host benchmarks, built optimised and without sanitizers
# in $LUMBRA_BUILD/bench: each *_bench program of bench/, in name order.
# Then the benchmarks that run under Wine, through tools/bench_wine.sh,
# which builds the cross trees and starts and stops an Xvfb and a Wine
# prefix of its own. Each measures Lumbra against a peer, a floor or an
# aim in the same run; their own output goes to $LUMBRA_BUILD/bench.log.
# A new benchmark needs only a few lines in bench/CMakeLists.txt (and its
# benchmarks target) or bench/wine/CMakeLists.txt: a *_bench executable
# that prints its rows with bench/bench_table.h.
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

# The Wine benchmarks: their output to the log, their names and failures
# shown as they go.
LUMBRA_BUILD=$build bash "$root/tools/bench_wine.sh" 2>&1 | tee -a "$log" |
  grep --line-buffered -E '^== |^FAILED|failed$' >&2
if [ "${PIPESTATUS[0]}" -ne 0 ]; then
  echo "a Wine benchmark failed; see $log" >&2
  failed=1
fi

echo
awk -F'\t' '
  $1 == "@row" { n++; what[n] = $2; ours[n] = $3; peer[n] = $4; theirs[n] = $5; ratio[n] = $6
                 if (length($2) > width) width = length($2) }
  END {
    if (width < 8) width = 8
    format = "%-" width "s  %12s  %-18s %12s  %6s\n"
    printf format, "Measured", "Lumbra", "Peer, floor, aim", "Its figure", "Ratio"
    for (i = 1; i <= n; i++) printf format, what[i], ours[i], peer[i], theirs[i], ratio[i]
    print "Ratio: Lumbra'"'"'s figure over the peer'"'"'s or the floor'"'"'s, measured in the same run (below 1:"
    print "Lumbra faster or smaller); against an aim, the figure over the aim (at most 1: the aim is met)."
  }
' "$log"
exit $failed
