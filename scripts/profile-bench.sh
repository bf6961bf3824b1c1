#!/usr/bin/env bash
# Profiles only the measured work of bench_goals: scripts/profile-bench.sh OUT.data [bench_goals options]
# e.g. scripts/profile-bench.sh /tmp/append.data --entries 1000000 --only append
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$1"; shift
ctl="$(mktemp -u /tmp/quillet-perf-ctl.XXXXXX)"
mkfifo "$ctl"
trap 'rm -f "$ctl"' EXIT
QUILLET_PERF_CTL="$ctl" perf record --delay=-1 --control="fifo:$ctl" --call-graph dwarf,16384 -F 499 -o "$out" \
    "$here/build-bench/bench/bench_goals" "$@"
