#!/usr/bin/env bash
# The test environment: one fresh Wine prefix and one Xvfb display per test run, both under the
# build folder's test-env directory, never ~/.wine.
#   wine-env.sh setup          create the prefix, start wineserver and Xvfb
#   wine-env.sh run EXE ARGS   run a cross-built program in that environment
#   wine-env.sh cleanup        stop wineserver and Xvfb
# CALDWEX_TEST_ENV names the folder; CALDWEX_WINE the Wine loader of the build under test
# (/usr/lib/wine/wine for i686, /usr/lib/wine/wine64 for x86_64); CALDWEX_TEST_TIME_LIMIT the
# seconds one test program may take (default 540).
set -euo pipefail

state=${CALDWEX_TEST_ENV:?CALDWEX_TEST_ENV must name the test environment folder}
wine=${CALDWEX_WINE:-/usr/lib/wine/wine}
time_limit=${CALDWEX_TEST_TIME_LIMIT:-540}
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# No Mono or Gecko prompts; and no debugger: a program that crashes must end, not wait in
# winedbg for someone to attach.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# Wine starts its own helpers (services, explorer) through WINELOADER when set; on a host
# without 32-bit support the default loader cannot start, so the 64-bit one is named.
case "$wine" in *64) export WINELOADER="$wine" ;; esac

die() { # message [log]
  echo "wine-env: $1" >&2
  if [ -n "${2:-}" ] && [ -s "$2" ]; then
    echo "  output: $2 (last lines below)" >&2
    tail -n 20 "$2" | sed 's/^/    /' >&2
  fi
  exit 1
}

start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1440x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
  echo $! > "$state/xvfb.pid"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || die "Xvfb :$n did not start within 10 s" "$state/xvfb.log"
  echo ":$n" > "$state/display"
}

case "${1:-}" in
  setup)
    "$0" cleanup || true
    rm -rf "$state"; mkdir -p "$state"
    "$wine" --version >/dev/null 2>&1 || die "the Wine loader $wine does not run on this host"
    start_xvfb
    export DISPLAY=$(cat "$state/display")
    # A booted prefix is kept beside the environment as a template (booting takes most of a
    # minute's half); each run starts from a fresh copy of it, so no run sees another's changes.
    template="$state.template-$(basename "$wine")"
    if [ ! -f "$template/.booted" ]; then
      rm -rf "$template"; mkdir -p "$template"
      status=0
      WINEPREFIX="$template" "$wine" wineboot.exe -i </dev/null >"$state/wineboot.log" 2>&1 || status=$?
      [ "$status" -eq 0 ] || die "creating the prefix failed: $wine wineboot.exe -i (exit status $status)" \
        "$state/wineboot.log"
      # The server writes the registry to disk when it ends; wait for that before copying.
      WINEPREFIX="$template" wineserver -w </dev/null >/dev/null 2>&1 || true
      touch "$template/.booted"
    fi
    cp -a "$template" "$WINEPREFIX"
    rm -f "$WINEPREFIX/.booted"
    # A persistent server keeps the prefix's services up between the test programs, so each
    # one starts fast.
    wineserver -p </dev/null >/dev/null 2>&1 || die "wineserver -p failed (exit status $?)"
    ;;
  run)
    shift
    [ -f "$state/display" ] || die "no test environment in $state: run 'wine-env.sh setup' first"
    export DISPLAY=$(cat "$state/display")
    # Wine's helper processes (services, the desktop window) outlive the program; they must not
    # inherit CTest's output pipe, or CTest waits for them. So the output goes through a file.
    log=$(mktemp "$state/run.XXXXXX")
    status=0
    timeout --kill-after=10 "$time_limit" "$wine" "$@" </dev/null >"$log" 2>&1 || status=$?
    cat "$log"; rm -f "$log"
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
      echo "wine-env: $1 did not end within $time_limit s and was stopped" >&2
    elif [ "$status" -eq 126 ] || [ "$status" -eq 127 ]; then
      echo "wine-env: $wine could not start $1 (exit status $status)" >&2
    fi
    exit "$status"
    ;;
  cleanup)
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
    ;;
  *) echo "usage: $0 setup|run EXE [ARGS]|cleanup" >&2; exit 2 ;;
esac
