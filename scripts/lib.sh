# Shared by the project's scripts (sourced, not run). Each script sets `who` to its own name
# before sourcing, so that every message says where it came from.
#
# The two builds: i686 is the program we ship; x86_64 is the same source for hosts that cannot
# run 32-bit programs, where Wine can only start 64-bit Windows programs (through wine64).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
logs="$root/build/logs"
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

# Whether this host runs 32-bit programs is found out by running one: Wine's 32-bit loader.
# CALDWEX_ARCH=x86_64 tests the 64-bit build on a host that could run either.
host_arch() {
  if [ -n "${CALDWEX_ARCH:-}" ]; then
    case "$CALDWEX_ARCH" in
      x86_64) echo x86_64; return ;;
      i686)
        /usr/lib/wine/wine --version >/dev/null 2>&1 ||
          fail "CALDWEX_ARCH=i686, but this host cannot run 32-bit programs (/usr/lib/wine/wine --version fails)"
        echo i686; return ;;
      *) fail "CALDWEX_ARCH must be i686 or x86_64, not '$CALDWEX_ARCH'" ;;
    esac
  fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

# The Wine loader that starts the given build's programs. Debian's plain `wine` prefers the
# 32-bit loader whenever wine32 is installed, which fails on a host without 32-bit support.
wine_loader() { # arch
  case "$1" in
    i686) echo /usr/lib/wine/wine ;;
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
