#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all: the reader against its
# baseline, a page entry on the headless display, text and page copies, and
# the quillon window under a private Xvfb (start-up, key latency, idle CPU,
# peak memory). Prints the machine's description first; docs/performance.md
# records a run. Usage: scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLON_BENCH=ON -DQUILLON_TESTS=OFF >/dev/null
targets=(bench_reader bench_page_entry bench_console)
if grep -q "^QUILLON_WINDOW:BOOL=ON" "$build/CMakeCache.txt"; then
  targets+=(quillon window_metrics)
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

echo "== machine =="
lscpu | grep -E "^(Model name|CPU\(s\)|Thread\(s\) per core|Core\(s\) per socket)" || true
grep MemTotal /proc/meminfo || true
c++ --version | head -1
echo "build type: Release"
echo

echo "== reader =="
csv=$("$build/bench/bench_reader" --benchmark_format=csv 2>/dev/null | grep '^"BM_')
echo "$csv" | awk -F, '{ printf "%-28s %8.1f MB/s (cpu %s ms)\n", $1, $6 / 1048576, $4 }'
echo "$csv" | awk -F, '/ReadInteger/ { r = $6 } /Baseline/ { b = $6 }
  END { if (b > 0) printf "reader / baseline = %.2f (target >= 0.5)\n", r / b }'
echo

echo "== page entry, 320 x 200 picture (target median <= 5 ms) =="
"$build/bench/bench_page_entry" 2>/dev/null | grep -E "median|mean"
echo

echo "== text and page copies =="
"$build/bench/bench_console" 2>/dev/null | grep "^BM_"
echo

echo "== window under Xvfb =="
if [[ ! -x "$build/bench/window_metrics" ]] || ! command -v Xvfb >/dev/null; then
  echo "skipped: needs the SDL window build and Xvfb"
  exit 0
fi
display=""
for n in $(seq 90 120); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
    display=":$n"
    break
  fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
"$build/bench/window_metrics" "$PWD/$build/quillon" "$display" 10
echo "targets: start-up <= 200 ms, key to window <= 20 ms median, idle CPU < 1 %, VmHWM <= 48 MB"
