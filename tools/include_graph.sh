#!/usr/bin/env bash
# Prints the arrows between the source folders that the #include lines
# make ("app -> winrt  41": 41 includes from app/ of winrt/ headers), and
# fails when one runs back up the layers, from a folder to one above it.
# It also fails on a file that includes <windows.h> (outside a _WIN32
# guard) without "_win32" in its name. Given a build tree
# (tools/include_graph.sh build/cross), it also reads the layers' static
# libraries there and fails when one needs a symbol that only a library
# above it defines: a link-time arrow back up.
# The layers, lowest first: each may include only from itself and below.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
layers=(core codecs display images winrt app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

cd "$root"
arrows=$(for from in "${layers[@]}"; do
  grep -oE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' "$from"/*.cpp "$from"/*.h 2>/dev/null |
    sed -E 's/.*"([a-z_]+)\/$/\1/' | while read -r to; do
      [ "$to" != "$from" ] && echo "$from -> $to"
    done
done | sort | uniq -c | awk '{ printf "%s %s %s  %d\n", $2, $3, $4, $1 }')

failed=0
while read -r from _ to count; do
  [ -n "$from" ] || continue
  r_from=$(rank "$from")
  r_to=$(rank "$to")
  if [ "$r_to" -lt 0 ] || [ "$r_to" -gt "$r_from" ]; then
    echo "$from -> $to  $count  runs back up"
    grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]+\"$to/" "$from"/*.cpp "$from"/*.h | sed 's/^/    /'
    failed=1
  else
    echo "$from -> $to  $count"
  fi
done <<<"$arrows"
echo "layers, lowest first: ${layers[*]}"

# Files that include <windows.h> unguarded: their names say _win32.
for file in $(grep -rl --include='*.cpp' --include='*.h' --include='*.rc' '^#include <windows.h>' \
    "${layers[@]}" bench fuzz resources tests tools); do
  case $(basename "$file") in *_win32*) continue ;; esac
  if awk '/^#if(def)? .*_WIN32/ { guarded = 1 } /^#endif/ { guarded = 0 }
          /^#include <windows.h>/ && !guarded { found = 1 } END { exit !found }' "$file"; then
    echo "$file includes <windows.h> but is not named *_win32"
    failed=1
  fi
done
# The libraries' symbols: what each needs of the program's namespace
# against what the layers above it define.
tree=${1:-}
if [ -n "$tree" ]; then
  nm=$(sed -n 's/^CMAKE_NM:FILEPATH=//p' "$tree/CMakeCache.txt")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  for layer in "${layers[@]}"; do
    library=$tree/$layer/liblumbra_$layer.a
    [ "$layer" = app ] && library=$tree/app/liblumbra_viewer.a
    [ -f "$library" ] || continue
    "$nm" -C --defined-only "$library" 2>/dev/null | awk '$2 ~ /^[TWVDBR]$/' | cut -d' ' -f3- |
      sort -u >"$work/$layer.defined"
    "$nm" -C -u "$library" 2>/dev/null | sed 's/^ *U //' | grep 'lumbra::' | sort -u >"$work/$layer.needed"
  done
  for i in "${!layers[@]}"; do
    [ -f "$work/${layers[$i]}.needed" ] || continue
    for ((j = i + 1; j < ${#layers[@]}; j++)); do
      [ -f "$work/${layers[$j]}.defined" ] || continue
      above=$(comm -12 "$work/${layers[$i]}.needed" "$work/${layers[$j]}.defined")
      if [ -n "$above" ]; then
        echo "${layers[$i]} needs of ${layers[$j]} at link time:"
        echo "$above" | sed 's/^/    /'
        failed=1
      fi
    done
  done
  [ "$failed" -ne 0 ] || echo "libraries of $tree: no symbol needed from a layer above"
fi
exit $failed
