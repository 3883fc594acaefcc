#!/usr/bin/env bash
# Runs the clipboard test program's X-side case (its command line given)
# and reads the image it copies with xclip, as any X program pastes it:
# the BMP must have the size and the pixels of the one that was copied.
set -u
rm -f copied.bmp pasted.bmp pasted.done
"$@" --gtest_filter='XClipboard.*' &
program=$!
for _ in $(seq 1 600); do
  [ -f copied.bmp ] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
ok=0
if [ -f copied.bmp ]; then
  for _ in $(seq 1 50); do
    timeout 10 xclip -selection clipboard -t image/bmp -o >pasted.bmp 2>/dev/null && [ -s pasted.bmp ] && break
    sleep 0.2
  done
  want=$(identify -format '%w %h' copied.bmp 2>&1)
  got=$(identify -format '%w %h' pasted.bmp 2>&1)
  apart=$(compare -metric AE copied.bmp pasted.bmp null: 2>&1)
  echo "copied: $want; pasted through xclip: $got; pixels apart: $apart"
  [ "$want" = "$got" ] && [ "$apart" = "0" ] && ok=1
else
  echo "the program copied nothing"
fi
touch pasted.done
wait "$program"
rc=$?
[ "$ok" = 1 ] && [ "$rc" = 0 ]
