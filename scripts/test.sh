#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
# Usage: scripts/test.sh [build-dir]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKSV_WERROR=ON
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
