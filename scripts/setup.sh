#!/usr/bin/env bash
# Installs everything the builds and the tests need on a fresh Debian 12 machine and
# cross-builds libpng, libjpeg-turbo and GoogleTest into build/deps/ARCH for each build named
# (i686, x86_64; by default the one this host can run). Idempotent: a second run only checks.
#   scripts/setup.sh [ARCH...]
#   scripts/setup.sh --packages      only the packages (Wine among them, to tell the host's kind)
set -euo pipefail
who=setup
source "$(dirname "$0")/lib.sh"

sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          libz-mingw-w64-dev xvfb xauth x11-utils imagemagick cmake ninja-build nsis wixl
          fonts-wine googletest dpkg-dev python3-pil fonts-dejavu-core)

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
  step "adding the i386 architecture" $sudo dpkg --add-architecture i386
  need_update=1
fi
add_deb_src && need_update=1
if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ]; then
  say "installing ${missing[*]:-(nothing; refreshing package lists)}"
  step "refreshing the package lists" $sudo apt-get update -qq
  [ ${#missing[@]} -eq 0 ] ||
    step "installing packages" $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" != --packages ] || exit 0
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=("$(host_arch)")

# Sources are shared by both builds, unpacked once under build/deps/src.
src_root="$root/build/deps/src"
mkdir -p "$src_root"

fetch_source() { # package: leaves the unpacked source in build/deps/src/PACKAGE/src
  local pkg=$1 work="$src_root/$1"
  [ -f "$work/.version" ] && return 0
  rm -rf "$work"; mkdir -p "$work"; chmod 777 "$work"
  (cd "$work" && apt-get source -qq --download-only "$pkg")
  local dsc; dsc=$(cd "$work" && ls ./*.dsc | head -n 1)
  (cd "$work" && dpkg-source -x "$dsc" src)
  basename "$dsc" .dsc > "$work/.version"
}
step "fetching the libpng source" fetch_source libpng1.6
step "fetching the libjpeg-turbo source" fetch_source libjpeg-turbo
png_ver=$(cat "$src_root/libpng1.6/.version")
jpeg_ver=$(cat "$src_root/libjpeg-turbo/.version")
gtest_ver=googletest_$(dpkg-query -W -f='${Version}' googletest)

cross_build() { # arch name source-dir extra-cmake-args...
  local arch=$1 name=$2 dir=$3; shift 3
  local work="$root/build/deps/$arch/build-$name"
  cmake -S "$dir" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DCMAKE_INSTALL_PREFIX="$(deps_prefix "$arch")" \
    -Wno-dev "$@"
  cmake --build "$work"
  cmake --install "$work"
}

# build_once arch name version source-dir extra-cmake-args...: cached by source version.
build_once() {
  local arch=$1 name=$2 version=$3; shift 3
  local stamp; stamp="$(deps_prefix "$arch")/.$name-$version"
  [ -f "$stamp" ] && return 0
  say "cross-building $version for $arch"
  step "cross-building $version for $arch" cross_build "$arch" "$name" "$@"
  touch "$stamp"
}

for arch in "${arches[@]}"; do
  case "$arch" in i686|x86_64) ;; *) fail "unknown build '$arch' (i686 or x86_64)" ;; esac
  triple=$arch-w64-mingw32
  build_once "$arch" libpng "$png_ver" "$src_root/libpng1.6/src" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="/usr/$triple"
  build_once "$arch" jpeg "$jpeg_ver" "$src_root/libjpeg-turbo/src" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF
  build_once "$arch" gtest "$gtest_ver" /usr/src/googletest -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
  say "ready for $arch ($(deps_prefix "$arch"))"
done
