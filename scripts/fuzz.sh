#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each of them, one after the
# other, for N seconds (default 60). Any crash, leak, timeout, sanitizer report
# or broken invariant fails the script; its reproducer is left in
# build-fuzz/artifacts/. Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_record_reader fuzz_page_file fuzz_picture fuzz_print_text fuzz_key_translation)
fi

cc=${CC:-clang-14}
cxx=${CXX:-clang++-14}
# The targets work in a temporary story folder of their own, so every path
# handed to them is absolute.
build=$root/build-fuzz
CC=$cc CXX=$cxx cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_FUZZ=ON -DQUILLON_TESTS=OFF -DQUILLON_WINDOW=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  # The checked-in seeds stay as they are; what the fuzzer learns goes to
  # a working corpus in the build folder.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/$target.log"
  echo "== $target: ${seconds}s =="
  if "$build/fuzz/$target" "$corpus" "$root/fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" >"$log" 2>&1; then
    grep -E "^#[0-9]+.*DONE" "$log" | tail -1 || true
    grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" "$log" || true
  else
    status=1
    echo "$target FAILED; see $log"
    tail -40 "$log"
  fi
done
exit "$status"
