#!/usr/bin/env bash
# Builds the fuzz tree (clang, libFuzzer, ASan + UBSan) and runs one target
# for a given number of seconds, starting from the seed corpus that the
# test writers make:
#   bash tools/fuzz.sh <target> <seconds>     e.g. bash tools/fuzz.sh gif_fuzz 600
# Targets: gif_fuzz, bmp_wmf_fuzz (and any other *_fuzz of fuzz/).
# The corpus grows in $LUMBRA_BUILD/fuzz-corpus/<target>; crashes are
# written to $LUMBRA_BUILD/fuzz-findings/<target>.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMBRA_BUILD:-$root/build}
tree=$build/fuzz
target=${1:?usage: fuzz.sh <target> <seconds>}
seconds=${2:?usage: fuzz.sh <target> <seconds>}

if [ ! -f "$tree/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DLUMBRA_FUZZ=ON -DLUMBRA_SANITIZE=OFF >/dev/null
fi
cmake --build "$tree" --target "$target" fuzz_seeds -- -j2

corpus=$build/fuzz-corpus/$target
findings=$build/fuzz-findings/$target
mkdir -p "$corpus" "$findings" "$build/fuzz-corpus/seeds-gif" "$build/fuzz-corpus/seeds-bmp_wmf"
"$tree/fuzz/fuzz_seeds" "$build/fuzz-corpus/seeds-gif" "$build/fuzz-corpus/seeds-bmp_wmf"
case $target in
  gif_fuzz) seeds=$build/fuzz-corpus/seeds-gif ;;
  bmp_wmf_fuzz) seeds=$build/fuzz-corpus/seeds-bmp_wmf ;;
  *) seeds= ;;
esac

# One process on one core; -rss_limit_mb bounds what a hostile header may
# make the decoders allocate.
"$tree/fuzz/$target" "$corpus" ${seeds:+"$seeds"} -max_total_time="$seconds" \
  -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1
