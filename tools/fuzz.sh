#!/usr/bin/env bash
# Runs one fuzz target for a given number of seconds:
#   bash tools/fuzz.sh <target> <seconds>     e.g. bash tools/fuzz.sh gif_fuzz 600
#   bash tools/fuzz.sh platform <seconds>
# Targets: gif_fuzz, bmp_wmf_fuzz, jpeg_fuzz, pcx_fuzz, window_description_fuzz,
# popup_menu_text_fuzz, list_format_fuzz, argument_items_fuzz (libFuzzer
# with ASan and UBSan, on the host), starting from the seed corpus that the
# test writers make. The corpus grows in
# $LUMBRA_BUILD/fuzz-corpus/<target>; findings are written to
# $LUMBRA_BUILD/fuzz-findings/<target>.
# "platform" runs the platform mutation runner (load, paint in every mode,
# copy) under Wine, on a 24-bit and an 8-bit palette display side by side,
# each for the given seconds; see tools/platform_fuzz.sh.
set -euo pipefail
source "$(dirname "$0")/common.sh"
target=${1:?usage: fuzz.sh <target> <seconds>}
seconds=${2:?usage: fuzz.sh <target> <seconds>}

if [ "$target" = platform ]; then
  exec bash "$root/tools/platform_fuzz.sh" "$seconds"
fi

build_fuzz >/dev/null
corpus=$build/fuzz-corpus/$target
findings=$build/fuzz-findings/$target
mkdir -p "$corpus" "$findings"
"$fuzz_tree/fuzz/fuzz_seeds" "$build/fuzz-corpus"
seeds=$build/fuzz-corpus/seeds-$target
[ -d "$seeds" ] || seeds=

# One process on one core; -rss_limit_mb bounds what a hostile header may
# make the decoders allocate.
"$fuzz_tree/fuzz/$target" "$corpus" ${seeds:+"$seeds"} -max_total_time="$seconds" \
  -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1
