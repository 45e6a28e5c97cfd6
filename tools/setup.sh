#!/usr/bin/env bash
# Installs what building, running and testing need on a fresh Debian or Ubuntu
# machine, and builds libpng for mingw into .cache/. Quiet and quick when all
# of it is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache="$root/.cache"

packages=(
  build-essential cmake ninja-build pkg-config python3 python3-pil
  libpng-dev zlib1g-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine32:i386 xvfb xauth x11-apps x11-utils xdotool imagemagick
  fonts-wqy-microhei locales dpkg-dev clang libclang-rt-dev
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

need_src=0
[ -f "$cache/libpng-mingw/lib/libpng16.a" ] || need_src=1

if [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # libpng for mingw comes from Debian's own source package.
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        as_root tee /etc/apt/sources.list.d/quenstrel-src.sources >/dev/null
    elif [ -f /etc/apt/sources.list.d/ubuntu.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/ubuntu.sources |
        as_root tee /etc/apt/sources.list.d/quenstrel-src.sources >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        as_root tee /etc/apt/sources.list.d/quenstrel-src.list >/dev/null
    fi
  fi
  [ ${#missing[@]} -gt 0 ] && echo "setup: installing ${missing[*]}" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null
  if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
fi

# Wine maps Chinese file names and fonts only under a locale that glibc has.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

if [ $need_src = 1 ]; then
  echo "setup: building libpng for mingw" >&2
  rm -rf "$cache/libpng-src" "$cache/libpng-build"
  mkdir -p "$cache/libpng-src"
  # The newest source in the archive may lack its .dsc on a mirror: fall back
  # to the release suite, then to the upstream tarball alone.
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  (cd "$cache/libpng-src" &&
    { apt-get source -qq libpng1.6 >/dev/null 2>&1 ||
      apt-get source -qq "libpng1.6/$suite" >/dev/null 2>&1 || true; })
  src=$(find "$cache/libpng-src" -maxdepth 1 -mindepth 1 -type d -name 'libpng*' | head -n1)
  if [ -z "$src" ]; then
    tarball=$(find "$cache/libpng-src" -maxdepth 1 -name 'libpng1.6_*.orig.tar.*' | head -n1)
    [ -n "$tarball" ] || { echo "setup: could not fetch the libpng source" >&2; exit 1; }
    tar -xf "$tarball" -C "$cache/libpng-src"
    src=$(find "$cache/libpng-src" -maxdepth 1 -mindepth 1 -type d -name 'libpng*' | head -n1)
  fi
  cmake -S "$src" -B "$cache/libpng-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache/libpng-mingw" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT=/usr/i686-w64-mingw32 -Wno-dev >/dev/null
  cmake --build "$cache/libpng-build" >/dev/null
  cmake --install "$cache/libpng-build" >/dev/null
  rm -rf "$cache/libpng-src" "$cache/libpng-build"
fi
