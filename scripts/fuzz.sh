#!/usr/bin/env bash
# Builds the libFuzzer programs of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time starting from its seed
# corpus and its kept findings, as many targets at once as there are cores.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 60 s, every target)
# A crash, a sanitizer report, a broken property, an input taking more than 10 s or
# 2 GB of memory fails the run; libFuzzer leaves the input as crash-*/timeout-*/oom-*
# in build-fuzz/findings/<target>/, to be fixed and then kept in fuzz/regressions/<target>/.
# CRB_FUZZ_BUILD names another build directory; CRB_FUZZ_FLAGS adds libFuzzer options;
# CRB_FUZZ_JOBS sets how many targets run at once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
seconds=${1:-60}
shift || true
build=${CRB_FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCRB_FUZZ=ON -DCRB_SANITIZE=ON -DCRB_BUILD_GUI=OFF -DCRB_BUILD_TESTS=OFF -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One target's run: its log in $build/<target>.log, what to print in $build/<target>.report.
fuzz_one() {
  local t=$1 work=$build/corpus-run/$1 findings=$build/findings/$1 log=$build/$1.log report=$build/$1.report
  rm -rf "$work"; mkdir -p "$work" "$findings"
  # The run grows a copy of the corpus; the repository's seeds stay as they are.
  cp fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  cp fuzz/regressions/"$t"/* "$work"/ 2>/dev/null || true
  echo "== $t: ${seconds} s" >"$report"
  if ./"$build"/fuzz/"$t" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" ${CRB_FUZZ_FLAGS:-} >"$log" 2>&1; then
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | sed "s/^/   /" >>"$report"
  else
    {
      echo "   FAILED, see $log"
      grep -E "ERROR|runtime error|Assertion|==.*ABORT|Test unit written" "$log" | head -20 | sed "s/^/   /"
    } >>"$report"
    return 1
  fi
}

# Each libFuzzer run uses one core: as many targets run at once as there are cores
# (CRB_FUZZ_JOBS), and the reports come out in the targets' order.
jobs=${CRB_FUZZ_JOBS:-$(nproc)}
pids=()
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  fuzz_one "$t" &
  pids+=("$!")
done
status=0
for i in "${!targets[@]}"; do
  wait "${pids[$i]}" || status=1
  cat "$build/${targets[$i]}.report"
done
exit $status
