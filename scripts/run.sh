#!/usr/bin/env bash
# Sets up the machine if needed, builds the program and starts it under Wine, in a demo prefix
# (build/demo-prefix) seeded with a handful of typical entries. On the user's display when
# DISPLAY is set; otherwise on a virtual display, where it saves a screenshot of the window to
# build/screenshot.png, closes the program and cleans up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
bash "$root/scripts/build.sh"

export WINEPREFIX="$build/demo-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exe="$build/CaldwexUninstaller.exe"

xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}

if [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap cleanup EXIT
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the demo prefix $WINEPREFIX (about half a minute)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
# The program is 32-bit and reads the 32-bit view of the registry.
wine reg import "$root/scripts/demo-entries.reg" /reg:32 >/dev/null 2>&1

if [ -z "$xvfb_pid" ]; then
  echo "run: starting $exe"
  wine "$exe"
  exit 0
fi

wine "$exe" >/dev/null 2>&1 &
# Wait for the window (its caption is the window text), then give it a moment to paint.
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Caldwex Uninstaller free 2.01"' && break
  sleep 0.2
done
sleep 2
# The window sits at the centre of the 1280 x 1024 screen.
import -window root -crop 870x619+205+203 +repage "$build/screenshot.png"
echo "run: no display, so the program ran on a virtual one; its window is in $build/screenshot.png"
