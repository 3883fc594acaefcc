#!/usr/bin/env bash
# The run command used twice in a row on one desktop (an X display that is
# already there, as a user's is): each time the viewer comes up showing the
# first sample picture, is closed as a user closes it (Ctrl+X, then Yes to
# the closing question), and the command ends well.
# Usage: run_twice_test.sh REPOSITORY BUILD_ROOT   (DISPLAY set)
set -euo pipefail
root=$1
export LUMBRA_BUILD=$2
# A Wine prefix of this test's own, as on a desktop that has none running.
export LUMBRA_WINEPREFIX=$PWD/prefix
fail() { echo "FAIL: $*"; for f in run*.log; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"

# Waits until a command succeeds, or fails the test after SECONDS.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $end ] || fail "waited $seconds s for $what"
    sleep 0.5
  done
}

window_named() { found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$found" ]; }

# The first sample, 01sunset.bmp, is on the screen: the window holds at
# least as many distinct colours as the picture brings (the empty window's
# grey frame, menus and tool bar hold far fewer).
picture_shown() {
  local colours
  colours=$(import -window "$main" -depth 8 -format '%k' info: 2>/dev/null) || return 1
  [ "${colours:-0}" -ge "$sample_colours" ]
}

sample_colours=
for run in 1 2; do
  log=run$run.log
  bash "$root/tools/run.sh" >"$log" 2>&1 &
  pid=$!
  wait_for 300 "the main window of run $run" window_named "Lumbra 1.0"
  main=$found
  if [ -z "$sample_colours" ]; then
    samples=$(ls -d "$LUMBRA_BUILD"/cross*/samples | head -n 1)
    sample_colours=$(identify -format '%k' "$samples/01sunset.bmp")
    [ "$sample_colours" -gt 64 ] || fail "the first sample has only $sample_colours colours"
  fi
  wait_for 60 "the picture in run $run" picture_shown
  xdotool windowfocus --sync "$main" key ctrl+x
  wait_for 30 "the closing question in run $run" window_named "Close Lumbra"
  xdotool windowfocus --sync "$found" key Return
  for _ in $(seq 1 120); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill -0 "$pid" 2>/dev/null && fail "run $run did not end after the viewer closed"
  rc=0
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "run $run ended with exit code $rc"
  grep -q 'lumbra.exe ended' "$log" || fail "run $run did not say that the viewer ended"
  echo "run $run: the viewer showed the picture and closed; the command ended well"
done
