#!/usr/bin/env bash
# What the set-up decides when the package archive or the host lets it down. Fake apt-get, dpkg
# and dpkg-query come first on PATH and record what they were asked; the i386 probe is replaced
# by a program that succeeds or fails as the case needs. Nothing here touches the network or the
# machine's packages.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/caldwex-setup-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

check() { # description condition...
  local what=$1; shift
  if "$@"; then echo "  ok: $what"; else echo "  FAILED: $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }
count() { grep -cF -- "$2" "$1"; }

# A fake archive in $case_dir: "installed" lists the installed packages, "calls" records every
# call, and FAKE_* variables say what fails.
write_fakes() {
  local bin=$1
  mkdir -p "$bin"
  cat >"$bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
pkg=${!#}
grep -qxF "$pkg" "$FAKE_DIR/installed" && printf 'install ok installed' || exit 1
EOF
  cat >"$bin/dpkg" <<'EOF'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE_DIR/calls"
case "$1" in
  --print-foreign-architectures) cat "$FAKE_DIR/foreign" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE_DIR/foreign" ;;
esac
EOF
  cat >"$bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE_DIR/calls"
if [[ " $* " == *" update "* ]]; then
  tries=$(($(cat "$FAKE_DIR/update-tries" 2>/dev/null || echo 0) + 1))
  echo "$tries" >"$FAKE_DIR/update-tries"
  if [ "$tries" -le "${FAKE_UPDATE_FAILS:-0}" ]; then
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi
  exit 0
fi
for pkg in "$@"; do
  case "$pkg" in -*|install) continue ;; esac
  if [[ " ${FAKE_BROKEN:-} " == *" $pkg "* ]]; then
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi
done
for pkg in "$@"; do
  case "$pkg" in -*|install) ;; *) echo "$pkg" >>"$FAKE_DIR/installed" ;; esac
done
EOF
  printf '#!/bin/sh\nexec "$@"\n' >"$bin/sudo"
  printf '#!/bin/sh\nexit 0\n' >"$bin/probe-runs"
  printf '#!/bin/sh\necho "Exec format error" >&2\nexit 126\n' >"$bin/probe-fails"
  chmod +x "$bin"/*
}

# run_setup CASE [VAR=VALUE...]: runs the set-up's package step in a case folder of its own.
run_setup() {
  local name=$1; shift
  case_dir="$work/$name"
  mkdir -p "$case_dir/logs"
  : >"$case_dir/installed"; : >"$case_dir/calls"
  write_fakes "$case_dir/bin"
  echo "$name:"
  env PATH="$case_dir/bin:$PATH" FAKE_DIR="$case_dir" CALDWEX_LOGS="$case_dir/logs" \
    CALDWEX_DEB_SRC_FILE="$case_dir/deb-src.sources" CALDWEX_APT_PAUSE=0 \
    CALDWEX_I386_PROBE="$case_dir/bin/probe-runs" CALDWEX_PACKAGES_CHECKED= "$@" \
    bash "$root/scripts/setup.sh" --packages >"$case_dir/out" 2>&1
  status=$?
}

run_setup refresh-fails-in-part FAKE_UPDATE_FAILS=99
check "goes on after a refresh that keeps failing" [ "$status" -eq 0 ]
check "tries the refresh three times" [ "$(count "$case_dir/calls" "apt-get update")" -eq 3 ]
check "names the index that failed" has "$case_dir/out" "binary-i386/Packages.xz"
check "warns that it goes on" has "$case_dir/out" "warning: the package lists could not all be refreshed"
check "installs the packages all the same" has "$case_dir/installed" "g++-mingw-w64-x86-64-posix"

run_setup refresh-fails-once FAKE_UPDATE_FAILS=1
check "a refresh that works on its second try is enough" [ "$(count "$case_dir/calls" "apt-get update")" -eq 2 ]
check "and gives no warning" lacks "$case_dir/out" "warning"

run_setup wine32-fails FAKE_BROKEN=wine32:i386
check "a failed 32-bit Wine install does not stop the set-up" [ "$status" -eq 0 ]
check "says that the shipped 32-bit program is not tested" has "$case_dir/out" "32-bit program is NOT tested"
check "says where the install's log is" has "$case_dir/out" "$case_dir/logs/setup-installing-the-32-bit-Wine.log"
check "shows apt's reason" has "$case_dir/out" "held broken packages"
check "adds the i386 architecture on a host that runs 32-bit programs" has "$case_dir/calls" "dpkg --add-architecture i386"
check "installs the rest in a step before the 32-bit Wine" \
  [ "$(grep -n 'apt-get.*install' "$case_dir/calls" | head -n 1 | grep -c wine32)" -eq 0 ]
check "asks for the 32-bit Wine alone" grep -qE 'install .*--no-install-recommends wine32:i386$' "$case_dir/calls"

run_setup host-without-32-bit CALDWEX_I386_PROBE="$work/host-without-32-bit/bin/probe-fails"
check "succeeds on a host that runs 64-bit programs only" [ "$status" -eq 0 ]
check "never installs the 32-bit Wine there" lacks "$case_dir/calls" "wine32"
check "never adds the i386 architecture there" lacks "$case_dir/calls" "--add-architecture"
check "says why" has "$case_dir/out" "cannot run 32-bit programs"

run_setup install-fails FAKE_BROKEN=cmake
check "a failed install of the packages the builds need stops the set-up" [ "$status" -ne 0 ]
check "and says where its log is" has "$case_dir/out" "$case_dir/logs/setup-installing-packages.log"

# A second run over what the first one installed changes nothing and refreshes nothing.
run_setup all-installed
first_calls=$(wc -l <"$case_dir/calls")
: >"$case_dir/calls"
env PATH="$case_dir/bin:$PATH" FAKE_DIR="$case_dir" CALDWEX_LOGS="$case_dir/logs" \
  CALDWEX_DEB_SRC_FILE="$case_dir/deb-src.sources" CALDWEX_APT_PAUSE=0 CALDWEX_PACKAGES_CHECKED= \
  CALDWEX_I386_PROBE="$case_dir/bin/probe-runs" bash "$root/scripts/setup.sh" --packages >"$case_dir/out2" 2>&1
check "the first run refreshed and installed" [ "$first_calls" -ge 3 ]
check "a second run over a set-up machine asks apt nothing" [ ! -s "$case_dir/calls" ]

# The build chosen for the tests, and the refusal of a build this host cannot run.
choose() { # VAR=VALUE...: prints host_arch's answer and its message
  env CALDWEX_LOGS="$work/logs" "$@" bash -c 'source "$0/scripts/lib.sh"; host_arch' "$root" 2>&1
}
echo "host_arch:"
fake=$work/all-installed/bin
check "tests x86_64 where the 32-bit Wine does not start" \
  [ "$(choose CALDWEX_WINE32_LOADER=/nonexistent CALDWEX_I386_PROBE="$fake/probe-runs")" = x86_64 ]
refused() { # expected-text VAR=VALUE...: host_arch fails with that text
  local text=$1 out; shift
  ! out=$(choose "$@") && [[ $out == *"$text"* ]]
}
check "CALDWEX_ARCH=i686 without the 32-bit Wine fails and says it is not installed" \
  refused "32-bit Wine is not installed" CALDWEX_ARCH=i686 CALDWEX_WINE32_LOADER=/nonexistent \
  CALDWEX_I386_PROBE="$fake/probe-runs"
check "CALDWEX_ARCH=i686 on a host without 32-bit support fails and says so" \
  refused "cannot run 32-bit programs" CALDWEX_ARCH=i686 CALDWEX_WINE32_LOADER=/nonexistent \
  CALDWEX_I386_PROBE="$fake/probe-fails"

echo "the i386 probe:"
source "$root/scripts/lib.sh"
write_i386_probe "$work/probe"
check "is a static i386 program of under a hundred bytes" \
  bash -c '[ $(stat -c %s "$1") -lt 100 ] && readelf -h "$1" | grep -q "Intel 80386" &&
           readelf -h "$1" | grep -q "EXEC (Executable file)"' _ "$work/probe"
"$work/probe" 2>/dev/null
probe_status=$?
check "either runs and exits 0, or is refused by the kernel (126), never crashes (status $probe_status)" \
  [ "$probe_status" -eq 0 -o "$probe_status" -eq 126 ]

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
