#!/usr/bin/env bash
# Sets up, builds and runs the tests.
#
#   scripts/test.sh [--quick] [WORK_DIR]
#
# Full run (what CI runs): a Release build with g++ and its tests, then one clang++ build with
# the address and undefined-behaviour sanitizers and libFuzzer instrumentation, whose library
# objects serve both its tests and the fuzz targets, and brief runs of every fuzz target.
# --quick: one g++ build and its tests, no sanitizers, no fuzzing (for local work).
# FUZZ_SECONDS (default 15) sets how long each fuzz target runs. Warnings are errors here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
quick=0
if [ "${1:-}" = "--quick" ]; then quick=1; shift; fi
work=${1:-$root/build-test}
jobs=$(nproc)
"$root/scripts/setup.sh"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# configure DIR [CMAKE ARGS...]
configure() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja -DTQ_WERROR=ON "${launcher[@]}" "$@" >/dev/null
}

if [ "$quick" = 1 ]; then
  echo "== quick build (g++) and test"
  configure "$work/quick" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=gcc \
    -DCMAKE_CXX_COMPILER=g++ -DTQ_BENCH=OFF
  cmake --build "$work/quick" -j"$jobs"
  (cd "$work/quick" && ctest --output-on-failure -j"$jobs")
  exit 0
fi

echo "== g++ Release build and test"
configure "$work/gcc-release" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc \
  -DCMAKE_CXX_COMPILER=g++
cmake --build "$work/gcc-release" -j"$jobs"
(cd "$work/gcc-release" && ctest --output-on-failure -j"$jobs")

echo "== clang++ build with sanitizers (address, undefined behaviour) and fuzz targets; test"
configure "$work/clang-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DTQ_SANITIZE=ON -DTQ_FUZZ=ON -DTQ_BENCH=OFF
cmake --build "$work/clang-sanitize" -j"$jobs"
(cd "$work/clang-sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

echo "== fuzz targets"
seconds=${FUZZ_SECONDS:-15}
passed=0 failed=0
for target in "$work"/clang-sanitize/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$work/clang-sanitize/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  if "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" $seeds \
      >"$work/clang-sanitize/$name.log" 2>&1; then
    echo "fuzz $name: ok"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED"
    tail -40 "$work/clang-sanitize/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
