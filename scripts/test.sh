#!/usr/bin/env bash
# Sets up the machine if needed, builds everything and runs all tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure "$@"
