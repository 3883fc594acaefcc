#!/usr/bin/env bash
# Builds and runs every test: host tests (ASan + UBSan), then the cross
# tests under Wine inside an Xvfb started and stopped here.
set -uo pipefail
source "$(dirname "$0")/common.sh"

fail() { echo "test.sh: $1 failed; the lines above say why" >&2; exit 1; }
bootstrap || fail "setting up the machine (tools/bootstrap.sh)"
build_host || fail "building the host tree ($host_tree)"
build_fuzz || fail "building the fuzz targets ($fuzz_tree)"
build_cross || fail "building the cross tree"

summary() {  # the pass and fail counts of one ctest log
  sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n 1
}

log_host=$build/test-host.log
log_fuzz=$build/test-fuzz.log
log_cross=$build/test-cross.log
ctest --test-dir "$host_tree" --output-on-failure -j2 2>&1 | tee "$log_host"
host_rc=${PIPESTATUS[0]}
# Every fuzz target, briefly over its seeds.
ctest --test-dir "$fuzz_tree" -L fuzz --output-on-failure -j2 2>&1 | tee "$log_fuzz"
fuzz_rc=${PIPESTATUS[0]}

start_xvfb 90
start_wine
trap 'stop_wine; stop_xvfb' EXIT
ctest --test-dir "$run_tree" --output-on-failure -j2 2>&1 | tee "$log_cross"
cross_rc=${PIPESTATUS[0]}

read -r hf ht <<<"$(summary "$log_host")"
read -r ff ft <<<"$(summary "$log_fuzz")"
read -r cf ct <<<"$(summary "$log_cross")"
failed=$(( ${hf:-0} + ${ff:-0} + ${cf:-0} ))
total=$(( ${ht:-0} + ${ft:-0} + ${ct:-0} ))
if [ "$host_rc" -ne 0 ] || [ "$fuzz_rc" -ne 0 ] || [ "$cross_rc" -ne 0 ]; then rc=1; else rc=0; fi
[ "$total" -gt 0 ] || rc=1
echo "$((total - failed)) passed, $failed failed"
exit $rc
