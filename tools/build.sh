#!/usr/bin/env bash
# Configures and builds one configuration: build.sh native|win32 [targets...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config=${1:?native or win32}; shift
dir="$root/build/$config"
args=(-S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release)
if [ "$config" = win32 ]; then
  args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
         -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/wine-run.sh"
         -DPNG_ROOT="$root/.cache/libpng-mingw")
fi
[ -f "$dir/build.ninja" ] || cmake "${args[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
