#!/usr/bin/env bash
# Sets up the machine if needed, builds the program and starts it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build"
echo "run: the main window is not built yet; built $root/build/CaldwexUninstaller.exe"
