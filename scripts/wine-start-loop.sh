#!/usr/bin/env bash
# Starts the first tests of a Windows build under Wine again and again, as the Windows
# stage starts them, to catch a start that Wine fails by chance. Each round runs the
# core test program once (as the build's test discovery does), waits a gap that steps
# from 0 to 8 s (Wine's server and its own processes stop about 3 to 7 s after the last
# program ends, and its desktop after 1 s), then runs the first six tests with ctest -j2
# and no timing data, as a fresh build does. A failed test prints its log, with what
# scripts/wine-run.sh says Wine reported. Exits 1 when any round failed.
#   scripts/wine-start-loop.sh [ROUNDS] [BUILD]    (default 40 rounds, build-windows)
#   CRB_LOOP_FRESH_PREFIX=1   a new Wine prefix for every round (slower: wineboot each time)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-40}
build=${2:-build-windows}
program=$build/tests/core_tests.exe
[ -f "$program" ] || { echo "no $program: build the Windows stage first" >&2; exit 2; }

# A new Wine prefix, the previous one (if any) stopped and removed.
remove_prefix() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
}
new_prefix() {
  remove_prefix
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-wine.XXXXXX")
  export WINEPREFIX
  scripts/wine-run.sh --prepare
}
unset WINEPREFIX
trap remove_prefix EXIT
new_prefix
dll_dirs=()
qt_bin=$(sed -n 's/^CRB_WINDOWS_QT:PATH=\(.\+\)$/\1/p' "$build/CMakeCache.txt")
[ -n "$qt_bin" ] && dll_dirs=(--dll-dir "$qt_bin/bin")

failed=0
for ((i = 0; i < rounds; i++)); do
  [ "${CRB_LOOP_FRESH_PREFIX:-0}" = 1 ] && [ "$i" -gt 0 ] && new_prefix
  gap=$(awk -v i="$i" 'BEGIN { printf "%.2f", (i * 0.4) % 8.4 }')
  scripts/wine-run.sh "${dll_dirs[@]}" "$program" --gtest_list_tests >/dev/null 2>&1 || true
  sleep "$gap"
  rm -f "$build/Testing/Temporary/CTestCostData.txt"
  if log=$(ctest --test-dir "$build" -I 1,6 -j2 --timeout 120 --output-on-failure 2>&1); then
    echo "round $i (gap $gap s): passed"
  else
    failed=$((failed + 1))
    echo "round $i (gap $gap s): FAILED"
    grep -v '^\s*$' <<<"$log" | sed 's/^/  | /'
  fi
done
echo "$failed of $rounds rounds failed"
[ "$failed" -eq 0 ]
