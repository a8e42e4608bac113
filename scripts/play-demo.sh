#!/usr/bin/env bash
# Installs what is missing, builds Quillon and plays the demo story in a window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillon
# A story is played from its own folder: the player reads pages/ and sprites/
# below the working directory.
cd stories/demo
exec ../../build/quillon
