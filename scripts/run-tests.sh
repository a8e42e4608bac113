#!/usr/bin/env bash
# Installs what is missing, builds Quillon and runs every test: the normal
# build, then the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# then the threaded tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

run_suite() {
  local dir=$1 filter=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  if [ -n "$filter" ]; then
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" -R "$filter"
  else
    ctest --test-dir "$dir" --output-on-failure -j"$jobs"
  fi
}

echo "== normal build =="
run_suite build ""
echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
run_suite build-asan "" -DQUILLON_ASAN=ON -DQUILLON_WINDOW=OFF
echo "== ThreadSanitizer (threaded tests) =="
run_suite build-tsan "Threaded" -DQUILLON_TSAN=ON -DQUILLON_WINDOW=OFF
