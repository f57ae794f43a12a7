#!/usr/bin/env bash
# LeakSanitizer check of the module's windows: builds the main-window tests with
# AddressSanitizer/LeakSanitizer (-DKSV_SANITIZE=ON) in build-asan, then
#  - opens and closes every view of the menu KSV_VIEW_ROUNDS times (default 50) against the
#    test agent in one process, and
#  - runs every other main-window case (picture, Refresh question, About box, closing or
#    ending the module during a read) in its own process.
# Any leak (or memory error) fails the run. Suppressions (scripts/lsan-suppressions.txt) cover
# only caches of fontconfig and X libraries.
#
#   scripts/leak-check.sh [build-dir]        (default: build-asan)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-asan}
rounds=${KSV_VIEW_ROUNDS:-50}

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKSV_WERROR=ON -DKSV_SANITIZE=ON \
    -DKSV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target app_views_tests app_mainform_tests ksv-agent -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
export LSAN_OPTIONS=suppressions=$here/scripts/lsan-suppressions.txt:print_suppressions=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "leak-check: every view, $rounds times"
KSV_VIEW_ROUNDS=$rounds "$build/tests/app/app_views_tests" \
    --gtest_filter='MainWindowViewsTest.EveryViewOpensWithItsCaptionAndCloses'

echo "leak-check: the other main-window cases, one process per case"
ctest --test-dir "$build" --output-on-failure -R '^MainWindow(Views)?Test\.' \
    -E 'EveryViewOpensWithItsCaptionAndCloses'
echo "leak-check: no leaks"
