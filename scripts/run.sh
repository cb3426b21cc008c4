#!/usr/bin/env bash
# Sets up the machine if needed, builds the program and starts it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
echo "run: the main window is not built yet; built $root/build/CaldwexUninstaller.exe"
