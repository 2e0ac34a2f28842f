#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the program and starts it on the data folder of the checkout
# (created on first start), where it finds and keeps the company files, or on the folder given.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
# Only the program and its workbook reader are built; the tests and benchmarks that share the build folder
# are left to ./scripts/test.sh, whatever the folder's cache says of them.
cmake -S "$root" -B "$root/build" -G Ninja -DKV_SANITIZE=OFF >/dev/null
cmake --build "$root/build" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" \
  --target kalvor952 kalvor952-sheet-reader
if [ $# -eq 0 ]; then
  mkdir -p "$root/data"
  set -- "$root/data"
fi
exec "$root/build/src/app/kalvor952" "$@"
