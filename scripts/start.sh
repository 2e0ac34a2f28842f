#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the program and starts it in the data folder of the checkout
# (created on first start), where it finds and keeps the company files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DKV_BUILD_TESTS=ON -DKV_SANITIZE=OFF >/dev/null
cmake --build "$root/build" --parallel
mkdir -p "$root/data"
cd "$root/data"
exec "$root/build/src/app/kalvor952" "$@"
