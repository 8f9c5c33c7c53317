#!/usr/bin/env bash
# Installs what is missing, builds pictrim with warnings as errors and runs
# every test: once in a plain build, once under AddressSanitizer and UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

run_suite() {
  local build=$1
  shift
  cmake -S "$root" -B "$build" -G Ninja -DPICTRIM_WERROR=ON "$@" >/dev/null
  cmake --build "$build" -j "$jobs"
  ctest --test-dir "$build" --output-on-failure -j "$jobs"
}

run_suite "$root/build/test"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite "$root/build/sanitize" -DPICTRIM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
