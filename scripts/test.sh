#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything and runs all tests.
# KV_SANITIZE=1 builds and runs them under AddressSanitizer and UndefinedBehaviorSanitizer instead.
# CMAKE_BUILD_PARALLEL_LEVEL and CTEST_PARALLEL_LEVEL set the build and test jobs (default: nproc).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"

if [ "${KV_SANITIZE:-0}" = "1" ]; then
  build="$root/build-asan"
  flags=(-DKV_SANITIZE=ON -DKV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  build="$root/build"
  flags=(-DKV_SANITIZE=OFF -DKV_BUILD_BENCH=ON)
fi

cmake -S "$root" -B "$build" -G Ninja -DKV_BUILD_TESTS=ON "${flags[@]}" >/dev/null
cmake --build "$build" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
# Window tests run without a display, on the headless back end or Qt's offscreen platform.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "${CTEST_PARALLEL_LEVEL:-$(nproc)}"
