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

# The colours of a picture or window, one #RRGGBB a line, sorted.
colours_of() { convert "$1" -depth 8 -unique-colors txt:- 2>/dev/null | awk 'NR > 1 { print $3 }' | sort -u; }

# The first sample, 01sunset.bmp (a gradient of thousands of colours), is
# on the screen: a good share of its colours are in the window's pixels.
# The empty window (grey frame, menus, tool-bar pictures) shares few.
picture_shown() {
  import -window "$main" -depth 8 "png:window$run.png" 2>/dev/null || return 1
  shared=$(colours_of "window$run.png" | comm -12 - sample.colours | wc -l)
  [ "$shared" -ge 1000 ]
}

samples=$(ls -d "$LUMBRA_BUILD"/cross*/samples | head -n 1)
colours_of "$samples/01sunset.bmp" >sample.colours
[ "$(wc -l <sample.colours)" -ge 4000 ] || fail "the first sample holds too few colours to be told from the window"

for run in 1 2; do
  log=run$run.log
  bash "$root/tools/run.sh" >"$log" 2>&1 &
  pid=$!
  wait_for 300 "the main window of run $run" window_named "Lumbra 1.0"
  main=$found
  wait_for 120 "the picture in run $run" picture_shown
  xdotool windowfocus --sync "$main" key ctrl+x
  wait_for 30 "the closing question in run $run" window_named "Close Lumbra"
  xdotool windowfocus --sync "$found" key Return
  for _ in $(seq 1 120); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill -0 "$pid" 2>/dev/null && fail "run $run did not end after the viewer closed"
  rc=0
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "run $run ended with exit code $rc"
  grep -q 'lumbra.exe ended' "$log" || fail "run $run did not say that the viewer ended"
  echo "run $run: the viewer showed the picture ($shared of its colours) and closed; the command ended well"
done
