#!/usr/bin/env bash
# Builds and runs the benchmarks (not tests): the table walk of the module against net-snmp's
# snmptable -CB and snmpwalk on the same local snmpd.
# Usage: scripts/bench.sh [build-dir] [rows...]   (default: build, 1000 5000)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
[ $# -gt 0 ] && shift
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKSV_WERROR=ON \
    -DKSV_BUILD_TESTS=ON -DKSV_BUILD_BENCH=ON
cmake --build "$build" --target walk_bench -j "$(nproc)"
"$build/bench/walk_bench" "$@"
