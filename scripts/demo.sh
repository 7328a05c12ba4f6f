#!/usr/bin/env bash
# Sets up, builds and runs the guided tour: scripts/demo.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DTQ_TESTS=OFF -DTQ_BENCH=OFF >/dev/null
cmake --build "$build" --target tq240 -j"$(nproc)"
"$build/tq240" demo
