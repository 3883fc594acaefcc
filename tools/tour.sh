#!/usr/bin/env bash
# The screenshot tour: starts the real lumbra.exe under Wine on the sample
# images, on an Xvfb display of its own with openbox as window manager
# (when installed), opens every window of the viewer in turn and saves a
# PNG of the screen for each under build/tour/, with index.html listing
# them.
#
#   bash tools/tour.sh [--no-build] [--depth 8|24]
#
# --no-build uses the trees as they are; --depth 8 tours a display that
# shows colours through a palette.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_first=1
depth=24
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build_first=0 ;;
    --depth) depth=$2; shift ;;
    *) echo "usage: $0 [--no-build] [--depth 8|24]" >&2; exit 2 ;;
  esac
  shift
done

if [ "$build_first" = 1 ]; then
  bootstrap
  build_host
  build_cross
elif runs_32bit; then
  run_tree=$cross_tree wine_arch=win32
else
  run_tree=$cross64_tree wine_arch=win64
fi
cmake --build "$run_tree" --target lumbra tour_driver lumbra_samples lumbra_help_page >/dev/null

out=$build/tour
rm -rf "$out"
mkdir -p "$out/program"
cp "$run_tree/lumbra.exe" "$out/program/"

start_xvfb "${LUMBRA_TOUR_DISPLAY:-100}" "1024x768x$depth"
wm_pid=
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
fi
finish() {
  "${WINESERVER:-wineserver}" -k 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  stop_xvfb
}
trap finish EXIT
start_wine
if [ -n "$wm_pid" ]; then
  # With a window manager, Wine leaves frames and activation to it.
  "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi

driver() { "$wine" "$run_tree/tools/tour_driver.exe" "$@"; }
pages=()
# shot NAME CAPTION [RECT]: the whole screen, and the window's rectangle
# marked on a copy of it when one is given.
shot() {
  local name=$1 caption=$2 rect=${3:-}
  import -window root "$out/$name.png"
  if [ -n "$rect" ]; then
    read -r x y w h <<<"$rect"
    convert "$out/$name.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/$name-window.png"
  fi
  pages+=("$name|$caption")
  echo "tour: $name ($caption)"
}

cat >"$out/program/LUMBRA.INI" <<'EOF'
[Lumbra]
XPos=60
YPos=40
Width=760
Height=560
Maximized=NO
PromptOnExit=NO
AutoLoadDir=YES
ShowWelcomeScreen=YES
EOF

cd "$out/program"
samples=$("$wine" winepath -w "$run_tree/samples")

# The welcome window shows when the program starts without a file.
"$wine" ./lumbra.exe >/dev/null 2>&1 &
program=$!
rect=$(driver window "Welcome to Lumbra")
shot welcome "Welcome window" "$rect"
driver close "Welcome to Lumbra"
driver command 5
wait "$program"

"$wine" ./lumbra.exe "$samples\\" >/dev/null 2>&1 &
program=$!
rect=$(driver main)
for mode in 9:normal:Normal 10:stretched:Stretched 11:tiled:Tiled 12:bestfit:"Best Fit"; do
  IFS=: read -r command name caption <<<"$mode"
  driver command "$command"
  rect=$(driver main)
  shot "main-$name" "Main window, $caption" "$rect"
done

driver command 9
driver main >/dev/null
# Secondary windows: menu command, title, picture name.
while IFS='|' read -r command title name; do
  driver command "$command"
  rect=$(driver window "$title")
  shot "$name" "$title" "$rect"
  driver close "$title"
done <<'EOF'
7|Image Properties|properties
34|Select Image File...|file-listing
4|Lumbra - Program Setup|setup
22|Zoom...|zoom
39|About Lumbra 1.0|about
EOF

# Popup menus: the main popup (right mouse button), the zoom and sort
# buttons of the tool bar.
driver popup
rect=$(driver menu)
shot popup-main "Main popup menu" "$rect"
driver escape
for button in 50:zoom:"Zoom popup" 57:sort:"Sort popup"; do
  IFS=: read -r number name caption <<<"$button"
  driver bar "$number"
  rect=$(driver menu)
  shot "popup-$name" "$caption" "$rect"
  driver escape
done

# The colour sample needs the Stretched or Tiled mode.
driver command 10
driver main >/dev/null
driver command 23
rect=$(driver window "Sample...")
shot colour-sample "Colour sample over the image (Stretched)"
driver close "Sample..."
driver command 5
wait "$program"

{
  echo "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Lumbra tour</title></head><body>"
  echo "<h1>Lumbra: every window (display depth $depth)</h1>"
  for page in "${pages[@]}"; do
    name=${page%%|*}
    caption=${page#*|}
    echo "<h2>$caption</h2><p><img src=\"$name.png\" alt=\"$caption\"></p>"
  done
  echo "</body></html>"
} >"$out/index.html"
echo "tour: ${#pages[@]} pictures and index.html in $out"
