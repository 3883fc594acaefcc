#!/usr/bin/env bash
# Pixel truth: gathers the files (the sample images, the test suites' own
# images written by the driver, files written by ImageMagick in several
# variants), decodes each with ImageMagick into a reference of red, green,
# blue and alpha bytes, describes them in manifest.txt, then runs the
# driver, which shows them in the real program and reads the screen.
# Arguments: the Wine loader, the driver, the samples folder.
set -u
wine=$1 driver=$2 samples=$3
rm -rf files refs manifest.txt
mkdir -p files refs

# The samples that a folder lists: not the metafile (ImageMagick has no
# reader for it here) nor the cursor (a folder lists no cursors).
for f in "$samples"/*; do
  case "${f,,}" in *.bmp | *.ico | *.pcx | *.gif | *.jpg) cp "$f" files/ ;; esac
done

# The test suites' images, by the suites' own writers.
"$wine" "$driver" write files || { echo "the driver wrote no suite images"; exit 1; }

# Files written by ImageMagick: odd widths throughout, palettes of 2, 16
# and 200 colours, every BMP header it writes, RLE, interlace, transparency.
im() { # output (with its format prefix), size, options...
  local out=$1 size=$2
  shift 2
  convert -seed 7 -size "$size" plasma: "$@" "$out" || echo "convert could not write $out"
}
im bmp3:files/im-bmp3-1bit-61x40.bmp 61x40 -monochrome -type bilevel
im bmp3:files/im-bmp3-4bit-61x40.bmp 61x40 -colors 16 -type palette
im bmp3:files/im-bmp3-8bit-61x40.bmp 61x40 -colors 200 -type palette
im bmp3:files/im-bmp3-rle8-61x40.bmp 61x40 -colors 200 -type palette -compress RLE
im bmp3:files/im-bmp3-24bit-61x40.bmp 61x40 -type truecolor
im bmp:files/im-bmp-16bit-rgb565-61x40.bmp 61x40 -define bmp:subtype=RGB565
im bmp:files/im-bmp-32bit-v5-61x40.bmp 61x40 -alpha opaque
im bmp2:files/im-bmp2-os2-1bit-61x40.bmp 61x40 -monochrome -type bilevel
im bmp2:files/im-bmp2-os2-8bit-61x40.bmp 61x40 -colors 200 -type palette
im bmp2:files/im-bmp2-os2-24bit-61x40.bmp 61x40 -type truecolor
im files/im-gif-61x40.gif 61x40 -colors 200
im files/im-gif-interlaced-61x40.gif 61x40 -colors 64 -interlace GIF
convert -size 61x40 xc:none -fill '#c03020' -draw 'circle 30,20 30,4' -fill '#2040d0' \
  -draw 'rectangle 2,2 24,12' files/im-gif-transparent-61x40.gif
im files/im-pcx-1bit-61x40.pcx 61x40 -colors 2 -depth 1
im files/im-pcx-1bit-65x40.pcx 65x40 -colors 2 -depth 1
im files/im-pcx-16colours-61x40.pcx 61x40 -colors 16
im files/im-pcx-200colours-61x40.pcx 61x40 -colors 200
im files/im-pcx-200colours-64x40.pcx 64x40 -colors 200
convert -seed 7 -size 32x32 plasma: -colors 16 files/im-ico-16colours-32x32.ico
convert -seed 7 -size 32x32 plasma: -alpha set -fill none -draw 'rectangle 0,0 9,9' \
  files/im-ico-32bit-32x32.ico
convert -seed 7 -size 240x160 plasma: -quality 90 files/im-jpg-q90-240x160.jpg

# A reference for each file: the frame the program shows (an icon's entry
# of the system's icon size, every frame of an animation), as it looks.
for path in files/*; do
  name=${path#files/}
  kind=exact
  case "${name,,}" in
    *.jpg) kind=psnr ;;
  esac
  case "${name,,}" in
    *.ico | *.cur)
      frame=$(identify -format '%p %w %h\n' "$path" 2>/dev/null | awk '$2 == 32 && $3 == 32 { print $1; exit }')
      if [ -z "$frame" ]; then echo "no 32x32 image in $name"; continue; fi
      convert "$path[$frame]" -depth 8 "rgba:refs/$name.rgba"
      echo "$name 32 32 1 $kind" >>manifest.txt
      ;;
    *)
      read -r w h < <(identify -format '%W %H\n' "$path" 2>/dev/null | head -n 1)
      frames=$(identify -format '%p\n' "$path" 2>/dev/null | wc -l)
      convert "$path" -coalesce -depth 8 "rgba:refs/$name.rgba"
      echo "$name $w $h $frames $kind" >>manifest.txt
      ;;
  esac
done

"$wine" "$driver"
