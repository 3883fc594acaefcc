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
          libbenchmark-dev clang-format imagemagick dpkg-dev libimagequant-dev xclip)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root dpkg --add-architecture i386
  fi
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "bootstrap: installing $(echo $missing | tr '\n' ' ')"
  export DEBIAN_FRONTEND=noninteractive
  need_root apt-get update -qq
  # shellcheck disable=SC2086
  need_root apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

enable_source_packages() {
  local src=/etc/apt/sources.list.d/debian-src.sources
  [ -f "$src" ] && return 0
  [ -f /etc/apt/sources.list.d/debian.sources ] || return 0
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | need_root tee "$src" >/dev/null
  need_root apt-get update -qq
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
  (cd "$work" && apt-get source --download-only libjpeg-turbo >/dev/null 2>&1) ||
    (cd "$work" && need_root apt-get update -qq && apt-get source --download-only libjpeg-turbo >/dev/null)
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

install_packages
build_libjpeg i686
build_libjpeg x86_64
