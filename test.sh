#!/usr/bin/env bash
# Installs what is missing, builds everything with the tests and benchmarks,
# and runs the whole suite in parallel. Exits non-zero on any failure.
#   ./test.sh             normal build (build/test)
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer (build/asan)
# ZARVO_JOBS=N limits the build and the test run to N jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh tools/packages.txt tools/test-packages.txt

# Part of the suite runs under a French locale.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
  else
    echo "The fr_FR.UTF-8 locale is missing. Run: sudo localedef -i fr_FR -f UTF-8 fr_FR.UTF-8" >&2
    exit 1
  fi
fi

dir=build/test
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_BUILD_TESTS=ON -DZARVO_BUILD_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  opts=(-DCMAKE_BUILD_TYPE=Debug -DZARVO_BUILD_TESTS=ON -DZARVO_BUILD_BENCH=OFF -DZARVO_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  export LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
jobs="${ZARVO_JOBS:-$(nproc)}"
cmake --build "$dir" --parallel "$jobs"
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure --parallel "$jobs" --timeout 600
