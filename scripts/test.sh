#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, the address and undefined-behaviour
# sanitizer build, and brief runs of the fuzz targets. scripts/test.sh [WORK_DIR]
# FUZZ_SECONDS (default 20) sets how long each fuzz target runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build-test}
jobs=$(nproc)
"$root/scripts/setup.sh"

echo "== build and test"
cmake -S "$root" -B "$work/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/release" -j"$jobs"
(cd "$work/release" && ctest --output-on-failure -j"$jobs")

echo "== sanitizer build (address, undefined behaviour) and test"
cmake -S "$root" -B "$work/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTQ_SANITIZE=ON \
  -DTQ_BENCH=OFF >/dev/null
cmake --build "$work/sanitize" -j"$jobs"
(cd "$work/sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

echo "== fuzz targets"
cmake -S "$root" -B "$work/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTQ_FUZZ=ON -DTQ_SANITIZE=ON \
  -DTQ_TESTS=OFF -DTQ_BENCH=OFF >/dev/null
cmake --build "$work/fuzz" -j"$jobs"
seconds=${FUZZ_SECONDS:-20}
passed=0 failed=0
for target in "$work"/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$work/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  if "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" $seeds \
      >"$work/fuzz/$name.log" 2>&1; then
    echo "fuzz $name: ok"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED"
    tail -40 "$work/fuzz/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
