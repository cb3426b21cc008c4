#!/usr/bin/env bash
# Sets up the machine if needed, builds the program and starts it under Wine, in a demo prefix
# (build/demo-prefix) seeded with a handful of typical entries: the i686 program we ship where
# this host runs 32-bit programs, else the x86_64 one under wine64. On the user's display when
# DISPLAY is set; otherwise on a virtual display, where it saves a screenshot of the window to
# build/screenshot.png, closes the program and cleans up. CALDWEX_DPI=120 (or 144, 192, ...) runs
# it as on a screen of that density; the window is built larger by dpi / 96.
set -euo pipefail
who=run
source "$(dirname "$0")/lib.sh"

bash "$root/scripts/setup.sh" --packages  # Wine first, to find out the host's kind
export CALDWEX_PACKAGES_CHECKED=1
arch=$(host_arch)
[ "$arch" = i686 ] || [ -n "${CALDWEX_ARCH:-}" ] || say "$(why_x86_64)"
bash "$root/scripts/build.sh" "$arch" CaldwexUninstaller

export WINEPREFIX="$root/build/demo-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
wine=$(wine_loader "$arch")
[ "$arch" = i686 ] || export WINELOADER="$wine"
exe="$(build_dir "$arch")/CaldwexUninstaller.exe"

xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}

if [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  mkdir -p "$logs"
  Xvfb ":$n" -screen 0 1920x1440x24 -nolisten tcp >"$logs/run-xvfb.log" 2>&1 &
  xvfb_pid=$!
  trap cleanup EXIT
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || fail "Xvfb :$n did not start within 10 s; its output is in $logs/run-xvfb.log"
  export DISPLAY=":$n"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  say "creating the demo prefix $WINEPREFIX (about half a minute)"
  mkdir -p "$WINEPREFIX"
  step "creating the demo prefix" "$wine" wineboot.exe -i
fi
step "importing the demo entries" "$wine" reg.exe import "$root/scripts/demo-entries.reg" "$(reg_view "$arch")"
dpi=${CALDWEX_DPI:-96}
[[ "$dpi" =~ ^[1-9][0-9]*$ ]] || fail "CALDWEX_DPI must be a number of dots per inch, such as 144 (was '$dpi')"
step "setting the screen density to $dpi dpi" "$wine" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels \
  /t REG_DWORD /d "$dpi" /f

if [ -z "$xvfb_pid" ]; then
  say "starting the $arch program $exe"
  "$wine" "$exe"
  exit 0
fi

say "starting the $arch program $exe on a virtual display"
"$wine" "$exe" >"$logs/run-program.log" 2>&1 &
program=$!
# Wait for the window (its caption is the window text), then give it a moment to paint.
shown=0
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Caldwex Uninstaller free 2.01"' && { shown=1; break; }
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
[ "$shown" = 1 ] || fail "the program's window did not appear within 30 s; its output is in $logs/run-program.log"
sleep 2
# The window, 870 x 619 times the scale (rounded as the program rounds), sits at the centre of the
# 1920 x 1440 screen.
width=$(((870 * dpi + 48) / 96)) height=$(((619 * dpi + 48) / 96))
step "taking the screenshot" import -window root -crop "${width}x${height}+$((960 - width / 2))+$((720 - height / 2))" \
  +repage "$root/build/screenshot.png"
say "no display, so the program ran on a virtual one; its window is in $root/build/screenshot.png"
