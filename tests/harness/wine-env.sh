#!/usr/bin/env bash
# The test environment: one fresh Wine prefix and one Xvfb display per test run, both under the
# build folder's test-env directory, never ~/.wine.
#   wine-env.sh setup          create the prefix, start wineserver and Xvfb
#   wine-env.sh run EXE ARGS   run a cross-built program in that environment
#   wine-env.sh cleanup        stop wineserver and Xvfb
set -euo pipefail

state=${CALDWEX_TEST_ENV:?CALDWEX_TEST_ENV must name the test environment folder}
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  echo $! > "$state/xvfb.pid"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  echo ":$n" > "$state/display"
}

case "${1:-}" in
  setup)
    "$0" cleanup || true
    rm -rf "$state"; mkdir -p "$state"
    start_xvfb
    export DISPLAY=$(cat "$state/display")
    # A persistent server keeps the prefix's services up between the test programs, so each
    # one starts fast.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot -i </dev/null >/dev/null 2>&1
    ;;
  run)
    shift
    export DISPLAY=$(cat "$state/display")
    # Wine's helper processes (services, the desktop window) outlive the program; they must not
    # inherit CTest's output pipe, or CTest waits for them. So the output goes through a file.
    log=$(mktemp "$state/run.XXXXXX")
    status=0
    wine "$@" </dev/null >"$log" 2>&1 || status=$?
    cat "$log"; rm -f "$log"
    exit "$status"
    ;;
  cleanup)
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
    ;;
  *) echo "usage: $0 setup|run EXE [ARGS]|cleanup" >&2; exit 2 ;;
esac
