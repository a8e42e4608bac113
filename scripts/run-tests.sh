#!/usr/bin/env bash
# Installs what is missing, builds Quillon and runs every test: the normal
# build, then the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# then the threaded tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

# run_suite DIR FILTER TARGETS [cmake options...]; empty FILTER runs every
# test, empty TARGETS builds everything.
run_suite() {
  local dir=$1 filter=$2 targets=$3
  shift 3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  if [ -n "$targets" ]; then
    # shellcheck disable=SC2086
    cmake --build "$dir" -j"$jobs" --target $targets
  else
    cmake --build "$dir" -j"$jobs"
  fi
  # The window tests drive a real X server; on a loaded machine one of them
  # may miss its moment, so a failed test gets one more run.
  if [ -n "$filter" ]; then
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --repeat until-pass:2 -R "$filter"
  else
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --repeat until-pass:2
  fi
}

echo "== normal build =="
run_suite build "" ""
echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
run_suite build-asan "" "" -DQUILLON_ASAN=ON -DQUILLON_WINDOW=OFF
echo "== ThreadSanitizer (the programs with threads: ending, display, player) =="
tsan_programs="quillon_errors_tests quillon_display_tests quillon_player_tests"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_TSAN=ON -DQUILLON_WINDOW=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build build-tsan -j"$jobs" --target $tsan_programs
for program in $tsan_programs; do
  "build-tsan/tests/$program" --gtest_brief=1
done

fuzz_seconds=${QUILLON_FUZZ_SECONDS:-60}
echo "== fuzzing: ${fuzz_seconds} s per target =="
scripts/fuzz.sh "$fuzz_seconds"
