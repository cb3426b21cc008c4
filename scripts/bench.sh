#!/usr/bin/env bash
# The benchmarks, run by hand and never by the tests: launch to full list of the shipped program
# against Wine's own Add/Remove Programs over the same registry, with the Wine server already
# running (warm) and with it stopped before each start (cold), a bare program of ours from cold,
# and where the shipped program's time goes; with --all also the scan and fill, list and rescan
# benchmarks over synthetic keys. Prints medians.
#   scripts/bench.sh [--all] [REG_FILE] [RUNS]
# REG_FILE defaults to the real machines' entries in tests/fixtures/realdata/winsoft_uninstall.reg;
# RUNS (default 5) is the number of starts of each program, warm and cold. CALDWEX_ARCH picks the
# build as for the tests. Runs in its own Wine prefix and display under build/ARCH/bench-env.
set -euo pipefail
who=bench
source "$(dirname "$0")/lib.sh"

all=no
if [ "${1:-}" = --all ]; then all=yes; shift; fi
reg=$(realpath "${1:-$root/tests/fixtures/realdata/winsoft_uninstall.reg}")
runs=${2:-5}
[ -f "$reg" ] || fail "no such .reg file: $reg"

bash "$root/scripts/setup.sh" --packages
export CALDWEX_PACKAGES_CHECKED=1
arch=$(host_arch)
[ "$arch" = i686 ] || [ -n "${CALDWEX_ARCH:-}" ] || say "$(why_x86_64)"
bash "$root/scripts/build.sh" "$arch" launch_bench scan_bench list_bench rescan_bench
out=$(build_dir "$arch")
view=$(reg_view "$arch")
export CALDWEX_TEST_ENV="$out/bench-env" CALDWEX_WINE
CALDWEX_WINE=$(wine_loader "$arch")
harness="$root/tests/harness/wine-env.sh"
trap '"$harness" cleanup' EXIT
"$harness" setup
run() { "$harness" run "$@"; }
bench="$out/tests/launch_bench.exe"

say "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(/usr/lib/wine/wine64 --version 2>/dev/null || "$CALDWEX_WINE" --version)"
run reg.exe delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /f "$view" >/dev/null 2>&1 || true
run reg.exe import "Z:$reg" "$view" >/dev/null 2>&1 || fail "reg import $reg $view failed"
expected=$(run "$bench" count | tr -d '\r')
say "$reg imported ($view): the shipped $arch build lists $expected entries"

say "launch to full list, Wine server running, $runs starts each (after one not counted):"
run "$bench" warm "$runs" "$expected" | sed 's/^/  /'

say "launch to full list, Wine server stopped before each start, $runs starts each:"
export WINEPREFIX="$CALDWEX_TEST_ENV/prefix"
cold="$CALDWEX_TEST_ENV/cold.txt"
: >"$cold"
for _ in $(seq "$runs"); do
  for target in ours wine bare; do
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    case $target in
      ours) program=("$out/CaldwexUninstaller.exe") ;;
      wine) program=(control.exe appwiz.cpl) ;;
      bare) program=("$out/tests/bare_window.exe") ;;
    esac
    # The program and its observer start together; whichever comes first starts the server.
    start=$(date +%s%6N)
    run "${program[@]}" >/dev/null 2>&1 &
    started=$!
    run "$bench" watch "$target" "$start" | tr -d '\r' | tee -a "$cold" | sed 's/^/  /' || true
    wait "$started" || true
  done
done
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
for target in ours wine bare; do
  grep "^cold $target " "$cold" | sed 's/.*full=\([0-9-]*\).*/\1/' | sort -n |
    awk -v t="$target" '{ v[NR] = $1 } END { if (NR) printf "  cold median over %d runs: %s %d ms (%d to %d)\n", NR, t, v[int((NR + 1) / 2)], v[1], v[NR] }'
done

wineserver -p </dev/null >/dev/null 2>&1 || fail "wineserver -p failed"
say "inside the shipped program's start (in one process, medians of $runs):"
run "$bench" split "$runs" | sed 's/^/  /'

if [ "$all" = yes ]; then
  # These replace the Uninstall key with synthetic entries.
  say "scan and fill of synthetic keys against the bare registry reads:"
  run "$out/tests/scan_bench.exe" | sed 's/^/  /'
  say "search, sort and details in the real window over 5,000 entries:"
  run "$out/tests/list_bench.exe" | sed 's/^/  /'
  say "ten rescans over 5,000 entries, half with icons, and the memory after each:"
  run "$out/tests/rescan_bench.exe" | sed 's/^/  /'
fi
