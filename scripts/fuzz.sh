#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang and runs each for SECONDS (default 60) on a copy
# of its seed corpus, one after another; installs what is missing on Debian 12 first.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# Prints per target: runs, crashes, timeouts, out-of-memory stops and peak memory. Inputs that crash,
# hang or run out of memory are kept in build-fuzz/artifacts/<target>/; replay one with
#   build-fuzz/fuzzers/<target> FILE
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

# clang and its fuzzer and sanitizer runtimes; llvm-symbolizer for readable stack traces.
"$here/scripts/install-deps.sh" clang-14 libclang-rt-14-dev llvm-14

build="$here/build-fuzz"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
  -DQUILLET_FUZZ=ON -DQUILLET_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target quillet_fuzzers

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build/fuzzers.txt"
fi

# A smaller quarantine than the default 256 MB still catches a use after free within one input (they are
# small) and keeps the peak memory figure about the code, not the sanitizer.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=32}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_SYMBOLIZER_PATH="${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}"

# A crash ends a run; the target is started again for the rest of its time, up to this many times.
max_restarts=5
summary=()
for t in "${targets[@]}"; do
  [ -n "$t" ] || continue
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  logs="$build/logs/$t"
  mkdir -p "$corpus" "$artifacts" "$logs"
  # The committed seeds stay as they are; what the run finds goes into the copy.
  cp -n "$here/tests/fuzz/corpus/$t/"* "$corpus/" 2>/dev/null || true
  dict=()
  [ -f "$here/tests/fuzz/$t.dict" ] && dict=(-dict="$here/tests/fuzz/$t.dict")

  runs=0 crashes=0 timeouts=0 ooms=0 peak=0 round=0
  start=$SECONDS
  while :; do
    left=$((seconds - (SECONDS - start)))
    [ "$left" -gt 0 ] || break
    round=$((round + 1))
    log="$logs/run-$round.log"
    echo "== $t: ${left}s (log $log)"
    status=0
    "$build/fuzzers/$t" "$corpus" "${dict[@]}" -max_total_time="$left" -timeout=10 -rss_limit_mb=2048 \
      -malloc_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
    r=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    m=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
    runs=$((runs + ${r:-0}))
    [ "${m:-0}" -gt "$peak" ] && peak=${m:-0}
    [ "$status" -eq 0 ] && break
    if grep -q 'ERROR: libFuzzer: timeout' "$log"; then
      timeouts=$((timeouts + 1))
    elif grep -q -E 'ERROR: libFuzzer: (out-of-memory|malloc limit)' "$log"; then
      ooms=$((ooms + 1))
    else
      crashes=$((crashes + 1))
    fi
    grep -E '^(SUMMARY|==[0-9]+==ERROR)|invariant broken|Test unit written' "$log" | sed 's/^/   /' || true
    [ "$round" -le "$max_restarts" ] || break
  done
  summary+=("$(printf '%-18s %12s %8s %9s %5s %9s %8s' "$t" "$runs" "$crashes" "$timeouts" "$ooms" "$peak" "$((SECONDS - start))")")
done

echo
printf '%-18s %12s %8s %9s %5s %9s %8s\n' target runs crashes timeouts ooms peak_MB seconds
printf '%s\n' "${summary[@]}"
echo "Crashing, hanging and out-of-memory inputs: $build/artifacts/<target>/"
# Anything found fails the run, so the script can guard a branch.
! printf '%s\n' "${summary[@]}" | awk '$3 + $4 + $5 > 0 { found = 1 } END { exit !found }'
