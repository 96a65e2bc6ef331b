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

# Some 250 test and benchmark programs each link the whole of the libraries
# they use: with full debug information every one of them weighs 100 to
# 170 MB, and the build no longer fits on a test machine's disk. The normal
# build carries none (-O2, as the benchmarks' figures were taken at); the
# sanitizer build keeps line tables only, which is what its stack traces
# name files and lines from.
dir=build/test
opts=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG"
      -DZARVO_BUILD_TESTS=ON -DZARVO_BUILD_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  opts=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g1" "-DCMAKE_C_FLAGS_DEBUG=-g1"
        -DZARVO_BUILD_TESTS=ON -DZARVO_BUILD_BENCH=OFF -DZARVO_SANITIZE=ON)
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
