#!/usr/bin/env bash
# Builds the benchmarks in Release mode and runs them.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$here" -B "$here/build-bench" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF -DQUILLET_BENCH=ON >/dev/null
cmake --build "$here/build-bench" -j2
for b in "$here"/build-bench/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
