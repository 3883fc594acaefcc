#!/usr/bin/env bash
# Runs a command (a test program under Wine) on a display of its own that
# shows colours through a palette: an 8-bit Xvfb, started and stopped here.
set -u
n=150
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 800x600x8 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done
DISPLAY=":$n" "$@"
