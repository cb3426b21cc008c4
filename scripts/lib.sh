# Shared by the project's scripts (sourced, not run). Each script sets `who` to its own name
# before sourcing, so that every message says where it came from.
#
# The two builds: i686 is the program we ship; x86_64 is the same source for hosts that cannot
# run 32-bit programs, where Wine can only start 64-bit Windows programs (through wine64).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
logs=${CALDWEX_LOGS:-$root/build/logs}
# Wine's 32-bit loader: where it starts, this host tests the program we ship.
wine32_loader=${CALDWEX_WINE32_LOADER:-/usr/lib/wine/wine}
who=${who:-caldwex}

say() { echo "$who: $*"; }

fail() { # message...
  echo "$who: $*" >&2
  exit 1
}

# step DESCRIPTION COMMAND ARGS...: runs the command with its output in a log file under
# build/logs; if it fails, says what failed, its status and where the whole output is, shows
# the last lines, and exits with the command's status.
step() {
  local what=$1; shift
  mkdir -p "$logs"
  local log
  log="$logs/$(printf '%s' "$who-$what" | tr -c 'A-Za-z0-9_.-' '-' | cut -c1-80).log"
  local status=0
  "$@" >"$log" 2>&1 </dev/null || status=$?
  if [ "$status" -ne 0 ]; then
    {
      echo "$who: $what failed (exit status $status)"
      echo "  command: $*"
      echo "  output:  $log (last lines below)"
      tail -n 20 "$log" | sed 's/^/    /'
    } >&2
    exit "$status"
  fi
}

# Whether this host runs 32-bit programs at all, asked without any 32-bit package: a static i386
# program of 91 bytes that exits with status 0 through int 0x80. Where the kernel has no 32-bit
# support, running it fails with "Exec format error" (status 126).
write_i386_probe() { # file
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\133\0\0\0\133\0\0\0\5\0\0\0\0\20\0\0\61\333\61\300\100\315\200' >"$1"
  chmod +x "$1"
}

# CALDWEX_I386_PROBE names another program to run in the probe's place (the set-up's tests).
runs_32bit_programs() {
  local probe=${CALDWEX_I386_PROBE:-} status=0
  if [ -n "$probe" ]; then
    "$probe" >/dev/null 2>&1 || status=$?
  else
    probe=$(mktemp "${TMPDIR:-/tmp}/caldwex-i386-probe.XXXXXX")
    write_i386_probe "$probe"
    "$probe" >/dev/null 2>&1 || status=$?
    rm -f "$probe"
  fi
  return "$status"
}

# The build whose tests this host runs: i686 (the program we ship) where the 32-bit Wine loader
# starts, else x86_64. CALDWEX_ARCH picks one; i686 is refused where it cannot run.
host_arch() {
  if [ -n "${CALDWEX_ARCH:-}" ]; then
    case "$CALDWEX_ARCH" in
      x86_64) echo x86_64; return ;;
      i686)
        "$wine32_loader" --version >/dev/null 2>&1 && { echo i686; return; }
        if runs_32bit_programs; then
          fail "CALDWEX_ARCH=i686, but the 32-bit Wine is not installed here ($wine32_loader --version fails); its install's log is under $logs"
        fi
        fail "CALDWEX_ARCH=i686, but this host cannot run 32-bit programs (a static i386 program gets \"Exec format error\"), so the 32-bit Wine cannot run here" ;;
      *) fail "CALDWEX_ARCH must be i686 or x86_64, not '$CALDWEX_ARCH'" ;;
    esac
  fi
  if "$wine32_loader" --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

# Why host_arch chose x86_64 without being asked to, for the scripts' first message.
why_x86_64() {
  if runs_32bit_programs; then
    echo "the 32-bit Wine is not installed here ($wine32_loader --version fails; the set-up said why), so the shipped 32-bit program is NOT tested on this machine: the x86_64 build is, under wine64"
  else
    echo "this host cannot run 32-bit programs, so the x86_64 build is tested, under wine64"
  fi
}

# The Wine loader that starts the given build's programs. Debian's plain `wine` prefers the
# 32-bit loader whenever wine32 is installed, which fails on a host without 32-bit support.
wine_loader() { # arch
  case "$1" in
    i686) echo "$wine32_loader" ;;
    x86_64) echo /usr/lib/wine/wine64 ;;
  esac
}

# The registry view that the given build reads: a 32-bit program in a 64-bit prefix sees the
# 32-bit view.
reg_view() { # arch
  case "$1" in
    i686) echo /reg:32 ;;
    x86_64) echo /reg:64 ;;
  esac
}

build_dir() { echo "$root/build/$1"; }          # arch
deps_prefix() { echo "$root/build/deps/$1/prefix"; } # arch
