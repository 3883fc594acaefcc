#!/usr/bin/env bash
# Turns a fresh Debian 12 machine into a Lumbra build machine.
# Idempotent: every step checks first and returns at once when done.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMBRA_BUILD:-$root/build}

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo "$@"; else echo "bootstrap: need root for: $*" >&2; exit 1; fi
  else
    "$@"
  fi
}

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-i686-dev xvfb xauth
          g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          cmake ninja-build nasm g++ googletest clang libclang-rt-14-dev
          libgif-dev libstb-dev libsdl2-image-dev libjpeg-turbo-progs libjpeg-dev
          libbenchmark-dev clang-format imagemagick dpkg-dev libimagequant-dev xclip zip unzip xdotool openbox)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# apt, made to survive a registry that is out of step for a while: an index
# that fails to download (a mirror in the middle of a sync) is retried, and
# when the packages cannot be installed because the index that failed left
# two architectures' versions of a library apart, the install is retried
# with the suites whose index failed left out.
apt_opts=()        # extra options: the reduced source list, once in use
failed_suites=""   # suites whose index failed in the last update
apt_parts=""

apt_update() {
  local try out rc
  for try in 1 2 3; do
    rc=0
    out=$(need_root apt-get "${apt_opts[@]}" update -qq 2>&1) || rc=$?
    failed_suites=$(printf '%s\n' "$out" | sed -n 's|^[EW]: Failed to fetch .*/dists/\([^/ ]*\)/.*|\1|p' | sort -u | tr '\n' ' ')
    if [ "$rc" -eq 0 ] && ! printf '%s\n' "$out" | grep -q '^E: '; then
      return 0
    fi
    echo "bootstrap: apt-get update failed (try $try of 3)${failed_suites:+; index of $failed_suites}" >&2
    [ "$try" -lt 3 ] && sleep 10
  done
  printf '%s\n' "$out" | grep '^E: ' | head -n 3 >&2
  return 1
}

# Writes a copy of the apt sources without the suites named in $1 into
# $apt_parts and points apt_opts at it.
sources_without() {
  local drop=$1 f
  apt_parts=$(mktemp -d)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v drop="$drop" '
      BEGIN { RS = ""; split(drop, D, " "); for (k in D) skip[D[k]] = 1 }
      {
        n = split($0, L, "\n"); out = ""; keep = 1
        for (i = 1; i <= n; i++) {
          line = L[i]
          if (line ~ /^Suites:/) {
            m = split(substr(line, 8), S, " "); s = ""
            for (j = 1; j <= m; j++) if (!(S[j] in skip)) s = s " " S[j]
            if (s == "") keep = 0
            line = "Suites:" s
          }
          out = out line "\n"
        }
        if (keep) printf "%s\n", out
      }' "$f" >"$apt_parts/$(basename "$f")"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v drop="$drop" 'BEGIN { split(drop, D, " "); for (k in D) skip[D[k]] = 1 }
      /^[ \t]*deb/ { for (i = 2; i <= NF; i++) if ($i in skip) next } { print }' \
      "$f" >"$apt_parts/$(basename "$f").list"
  done
  apt_opts=(-o "Dir::Etc::SourceParts=$apt_parts" -o Dir::Etc::SourceList=/dev/null)
}

apt_install() {
  local log
  log=$(mktemp)
  export DEBIAN_FRONTEND=noninteractive
  if need_root apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  if [ -n "$failed_suites" ] && [ ${#apt_opts[@]} -eq 0 ]; then
    echo "bootstrap: install failed; retrying without the suites whose index failed: $failed_suites" >&2
    sources_without "$failed_suites"
    apt_update || true
    if need_root apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
  fi
  grep '^E: ' "$log" | tail -n 3 >&2
  rm -f "$log"
  echo "bootstrap: could not install: $*${failed_suites:+ (the package index of $failed_suites did not download)}; try again in a few minutes, or run 'apt-get update' and read its errors" >&2
  return 1
}

install_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root dpkg --add-architecture i386
  fi
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "bootstrap: installing $(echo $missing | tr '\n' ' ')"
  # A failed index is not the end: the packages may well install without it.
  apt_update || true
  # shellcheck disable=SC2086
  apt_install $missing
}

enable_source_packages() {
  local src=/etc/apt/sources.list.d/debian-src.sources
  [ -f "$src" ] && return 0
  [ -f /etc/apt/sources.list.d/debian.sources ] || return 0
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | need_root tee "$src" >/dev/null
  # The source package comes from the main suite; a failed index elsewhere
  # does not stop it.
  apt_update || true
}

# libjpeg-turbo, cross-built for Windows from Debian's own source package,
# for one architecture (i686 or x86_64).
build_libjpeg() {
  local arch=$1
  local jpeg_prefix=$build/deps/libjpeg-$arch
  [ -f "$jpeg_prefix/lib/libjpeg.a" ] && return 0
  enable_source_packages
  local work=$build/deps/src-$arch
  rm -rf "$work" && mkdir -p "$work"
  if ! (cd "$work" && apt-get "${apt_opts[@]}" source --download-only libjpeg-turbo >/dev/null 2>&1); then
    apt_update || true
    (cd "$work" && apt-get "${apt_opts[@]}" source --download-only libjpeg-turbo >/dev/null) || {
      echo "bootstrap: could not download the source package libjpeg-turbo; check that deb-src entries are enabled and 'apt-get update' succeeds" >&2
      return 1
    }
  fi
  local orig
  orig=$(ls "$work"/libjpeg-turbo_*.orig.tar.* | head -n 1)
  mkdir -p "$work/src" && tar -xf "$orig" -C "$work/src" --strip-components=1
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" >/dev/null
  cmake --build "$work/build" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
}

trap 'rc=$?; [ -z "$apt_parts" ] || rm -rf "$apt_parts"; [ "$rc" -eq 0 ] || echo "bootstrap: failed (exit $rc)" >&2' EXIT
trap 'echo "bootstrap: this step failed: $BASH_COMMAND" >&2' ERR
install_packages
build_libjpeg i686
build_libjpeg x86_64
