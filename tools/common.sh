# Shared by the run and test commands: build trees, Xvfb and the Wine prefix.
# Source it; it defines functions and the paths below.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMBRA_BUILD:-$root/build}
host_tree=$build/host
cross_tree=$build/cross
cross64_tree=$build/cross64

bootstrap() {
  LUMBRA_BUILD=$build bash "$root/tools/bootstrap.sh"
}

# The host tree: portable code, its tests, and the tools the cross build uses.
build_host() {
  if [ ! -f "$host_tree/build.ninja" ]; then
    cmake -S "$root" -B "$host_tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  fi
  cmake --build "$host_tree"
}

# The fuzz tree: clang with libFuzzer, ASan and UBSan; only the fuzz
# targets and their seed writer are built.
fuzz_tree=$build/fuzz
build_fuzz() {
  if [ ! -f "$fuzz_tree/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DLUMBRA_FUZZ=ON -DLUMBRA_SANITIZE=OFF >/dev/null
  fi
  cmake --build "$fuzz_tree" --target fuzz_targets -- -j2
}

# A cross tree: lumbra.exe and every test, for i686 (the product) or x86_64;
# only the targets named after the architecture, when some are.
build_cross_tree() {
  local tree=$1 arch=$2
  shift 2
  if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
      -DLUMBRA_DEPS_PREFIX="$build/deps/libjpeg-$arch" \
      -DLUMBRA_HOST_TOOLS="$host_tree/tools" >/dev/null
  fi
  if [ $# -gt 0 ]; then
    cmake --build "$tree" --target "$@"
  else
    cmake --build "$tree"
  fi
}

# Whether this machine's kernel executes 32-bit programs, which 32-bit Wine
# needs. Some virtual machines run without IA-32 emulation; there the tests
# and the program run as their x86_64 build under 64-bit Wine instead.
runs_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Builds the product tree, and the 64-bit tree when 32-bit code cannot run
# here; sets run_tree and wine_arch to the tree whose programs run here.
build_cross() {
  build_cross_tree "$cross_tree" i686 || return 1
  if runs_32bit; then
    run_tree=$cross_tree wine_arch=win32
  else
    echo "note: this kernel cannot execute 32-bit programs; running the x86_64 build under 64-bit Wine"
    build_cross_tree "$cross64_tree" x86_64 || return 1
    run_tree=$cross64_tree wine_arch=win64
  fi
}

xvfb_pid=
# Starts an Xvfb of our own on a free display number and exports DISPLAY.
start_xvfb() {
  local n=${1:-90} geometry=${2:-1024x768x24}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}

# One Wine prefix inside the build tree (or the one LUMBRA_WINEPREFIX
# names). With "persistent", a wineserver is kept alive for the test run so
# each program starts fast; a server already running for the prefix is
# reused. Without it, Wine starts its own server, which ends a few seconds
# after the last program, so nothing is left behind on a user's desktop.
start_wine() {
  local mode=${1:-persistent}
  export WINEPREFIX=${LUMBRA_WINEPREFIX:-${wine_prefix:-$build/wine-$wine_arch}} WINEARCH=$wine_arch WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$wine_arch" = win64 ]; then
    wine=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
  else
    wine=wine
    export WINESERVER=/usr/lib/wine/wineserver32
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
  fi
  # Detached from our output, so a pipe reading the tests' output can end.
  # It fails when a server already runs for this prefix: that one serves.
  if [ "$mode" = persistent ]; then
    "$WINESERVER" -p >/dev/null 2>&1 </dev/null || true
  fi
  # The prefix's services start with the first program; started here they
  # hold none of the tests' output pipes open.
  "$wine" wineboot >/dev/null 2>&1 </dev/null || true
  # An Xvfb of our own has no window manager: Wine then draws the frames
  # and carries out maximising itself. On a real desktop the window
  # manager does.
  local key='HKCU\Software\Wine\X11 Driver'
  if [ -n "$xvfb_pid" ]; then
    "$wine" reg add "$key" /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    "$wine" reg delete "$key" /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

stop_wine() {
  "${WINESERVER:-wineserver}" -k 2>/dev/null || true
}
