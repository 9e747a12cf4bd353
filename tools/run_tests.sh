#!/usr/bin/env bash
# Builds the library and its tests and runs them all with ctest.
#   tools/run_tests.sh          normal build in build/dev
#   tools/run_tests.sh asan     AddressSanitizer + UndefinedBehaviorSanitizer in build/asan
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
preset=${1:-dev}
jobs=$(nproc)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
# Any sanitizer report aborts the test process, so it fails its test.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --preset "$preset" -j "$jobs"
