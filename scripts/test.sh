#!/usr/bin/env bash
# Sets up the machine if needed, builds, and runs every test under Wine: the i686 build (the
# program we ship) where this host runs 32-bit programs, else the x86_64 build under wine64.
# Arguments go to ctest (for example -R gui_tests, or -L unit).
set -euo pipefail
who=test
source "$(dirname "$0")/lib.sh"

# Wine, and so the host check, come with the set-up; the builds below need not check again.
bash "$root/scripts/setup.sh" --packages
export CALDWEX_PACKAGES_CHECKED=1
arch=$(host_arch)
# The build under test; the other one is built too, so that a compile error in either is caught
# on every host.
if [ "$arch" = x86_64 ]; then
  if [ -n "${CALDWEX_ARCH:-}" ]; then
    say "CALDWEX_ARCH=x86_64: testing the x86_64 build under wine64"
  else
    say "$(why_x86_64)"
  fi
  bash "$root/scripts/build.sh" i686
else
  bash "$root/scripts/build.sh" x86_64
fi
bash "$root/scripts/build.sh" "$arch"

out=$(build_dir "$arch")
say "running the $arch build's tests in $out"
status=0
(cd "$out" && ctest --output-on-failure "$@") || status=$?

# gtest prints a line per skipped test with its reason (tests/support/test_main.cpp).
log="$out/Testing/Temporary/LastTest.log"
if [ -f "$log" ] && grep -q '^skipped: ' "$log"; then
  say "skipped on this build, with the reason:"
  grep '^skipped: ' "$log" | sort -u | sed 's/^skipped: /  /'
fi
[ "$status" -eq 0 ] || fail "some tests failed (ctest exit status $status); their output is above, all of it in $log"
say "all tests passed on the $arch build"
