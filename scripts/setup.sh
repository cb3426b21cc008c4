#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine and
# cross-builds libpng, libjpeg-turbo and GoogleTest into build/deps. Idempotent: a second
# run only checks and returns.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686-posix libz-mingw-w64-dev
          xvfb xauth x11-utils imagemagick cmake ninja-build nsis wixl fonts-wine
          googletest dpkg-dev python3-pil fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

add_deb_src() {
  # apt-get source needs a deb-src entry; the main archive carries every source we build.
  local src=/etc/apt/sources.list.d/caldwex-deb-src.sources
  local entry='Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'
  [ -f "$src" ] && [ "$(cat "$src")" = "$entry" ] && return 1
  printf '%s\n' "$entry" | $sudo tee "$src" >/dev/null
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386; need_update=1
fi
add_deb_src && need_update=1
if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ]; then
  echo "setup: installing ${missing[*]:-(nothing; refreshing package lists)}"
  $sudo apt-get update -qq
  [ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Cross-built libraries, cached by source version under build/deps.
toolchain="$root/cmake/mingw-i686.cmake"
prefix="$deps/prefix"
mkdir -p "$deps/src"

cross_build() { # name source-dir extra-cmake-args...
  local name=$1 dir=$2; shift 2
  cmake -S "$dir" -B "$deps/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" -Wno-dev "$@" >/dev/null
  cmake --build "$deps/build-$name" >/dev/null
  cmake --install "$deps/build-$name" >/dev/null
}

fetch_source() { # package -> prints the unpacked source directory; the version is in .version
  local pkg=$1 work="$deps/src/$1"
  if [ ! -f "$work/.version" ]; then
    rm -rf "$work"; mkdir -p "$work"; chmod 777 "$work"
    (cd "$work" && apt-get source -qq --download-only "$pkg" >/dev/null)
    local dsc; dsc=$(cd "$work" && ls ./*.dsc | head -n 1)
    (cd "$work" && dpkg-source -x "$dsc" src >/dev/null 2>&1)
    basename "$dsc" .dsc > "$work/.version"
  fi
  echo "$work/src"
}

stamp() { echo "$prefix/.$1-$2"; }

png_src=$(fetch_source libpng1.6); png_ver=$(cat "$png_src/../.version")
if [ ! -f "$(stamp libpng "$png_ver")" ]; then
  echo "setup: cross-building $png_ver"
  cross_build libpng "$png_src" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_TOOLS=OFF -DZLIB_ROOT=/usr/i686-w64-mingw32
  touch "$(stamp libpng "$png_ver")"
fi

jpeg_src=$(fetch_source libjpeg-turbo); jpeg_ver=$(cat "$jpeg_src/../.version")
if [ ! -f "$(stamp jpeg "$jpeg_ver")" ]; then
  echo "setup: cross-building $jpeg_ver"
  cross_build jpeg "$jpeg_src" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  touch "$(stamp jpeg "$jpeg_ver")"
fi

gtest_ver=$(dpkg-query -W -f='${Version}' googletest)
if [ ! -f "$(stamp gtest "$gtest_ver")" ]; then
  echo "setup: cross-building googletest $gtest_ver"
  cross_build gtest /usr/src/googletest -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
  touch "$(stamp gtest "$gtest_ver")"
fi
echo "setup: ready ($prefix)"
