#!/usr/bin/env bash
# Sets up the machine if needed and builds one of the two builds into build/ARCH: everything,
# or only the targets named.
#   scripts/build.sh ARCH [TARGET...]      ARCH is i686 (the program we ship) or x86_64
set -euo pipefail
who=build
source "$(dirname "$0")/lib.sh"

arch=${1:?usage: scripts/build.sh i686|x86_64 [TARGET...]}; shift
case "$arch" in i686|x86_64) ;; *) fail "unknown build '$arch' (i686 or x86_64)" ;; esac
bash "$root/scripts/setup.sh" "$arch"

out=$(build_dir "$arch")
step "configuring the $arch build" cmake -S "$root" -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DDEPS_PREFIX="$(deps_prefix "$arch")"
targets=()
for t in "$@"; do targets+=(--target "$t"); done
say "building the $arch build${*:+ ($*)} in $out"
# Compiler output goes to the terminal as it comes: a compile error is read there.
status=0
cmake --build "$out" "${targets[@]}" || status=$?
[ "$status" -eq 0 ] || fail "the $arch build failed (exit status $status): cmake --build $out; the compiler's messages are above"
