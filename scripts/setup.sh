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

# Everything but the 32-bit Wine, which only a host that runs 32-bit programs can use and which
# needs the archive's i386 indexes: it is installed on its own, after the rest (below).
packages=(wine wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          libz-mingw-w64-dev xvfb xauth x11-utils imagemagick cmake ninja-build nsis wixl
          fonts-wine googletest dpkg-dev python3-pil fonts-dejavu-core)
wine32=wine32:i386

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

add_deb_src() {
  # apt-get source needs a deb-src entry; the main archive carries every source we build.
  local src=${CALDWEX_DEB_SRC_FILE:-/etc/apt/sources.list.d/caldwex-deb-src.sources}
  local entry='Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'
  [ -f "$src" ] && [ "$(cat "$src")" = "$entry" ] && return 1
  printf '%s\n' "$entry" | $sudo tee "$src" >/dev/null
}

# The archive is sometimes out of step for a while (a mirror in mid-sync serves an index of the
# wrong size). Each try refreshes what it can; after the last, the indexes that still failed are
# named and set-up goes on with the lists it has: only an install that then fails stops it.
refresh_lists() {
  local tries=${CALDWEX_APT_TRIES:-3} pause=${CALDWEX_APT_PAUSE:-10} try log
  mkdir -p "$logs"
  log="$logs/$who-refreshing-the-package-lists.log"
  for try in $(seq "$tries"); do
    say "refreshing the package lists (try $try of $tries)"
    $sudo apt-get update -qq >"$log" 2>&1 </dev/null && return 0
    [ "$try" -eq "$tries" ] || sleep "$pause"
  done
  local failed
  failed=$(grep -oE 'Failed to fetch [^ ]+' "$log" | sed 's/^Failed to fetch //' | sort -u)
  echo "$who: warning: the package lists could not all be refreshed after $tries tries; going on with what they hold" >&2
  if [ -n "$failed" ]; then
    echo "$who:   indexes that failed:" >&2
    printf '%s\n' "$failed" | sed 's/^/    /' >&2
  fi
  echo "$who:   output: $log" >&2
}

install_packages() { # package...
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
}

setup_packages() {
  local want_wine32=0 missing=() need_update=0 p log status
  if runs_32bit_programs; then want_wine32=1; fi
  for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
  add_deb_src && need_update=1
  if [ "$want_wine32" = 1 ] && ! installed "$wine32" && ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture" $sudo dpkg --add-architecture i386
    need_update=1
  fi
  if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ] || { [ "$want_wine32" = 1 ] && ! installed "$wine32"; }; then
    refresh_lists
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    step "installing packages" install_packages "${missing[@]}"
  fi

  if [ "$want_wine32" = 0 ]; then
    say "this host cannot run 32-bit programs: the 32-bit Wine is not installed, and the x86_64 build is the one tested here"
  elif ! installed "$wine32"; then
    say "installing the 32-bit Wine ($wine32)"
    log="$logs/$who-installing-the-32-bit-Wine.log"
    status=0
    install_packages "$wine32" >"$log" 2>&1 </dev/null || status=$?
    if [ "$status" -ne 0 ]; then
      {
        echo "$who: warning: installing the 32-bit Wine failed (apt-get exit status $status)"
        grep -E '^E: ' "$log" | head -n 3 | sed 's/^/    /'
        echo "  output: $log"
        echo "  Going on with the x86_64 build: the shipped 32-bit program is NOT tested on this machine."
      } >&2
    fi
  fi
}

# The test and run commands check the packages once, then build through this script again.
[ -n "${CALDWEX_PACKAGES_CHECKED:-}" ] || setup_packages
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
