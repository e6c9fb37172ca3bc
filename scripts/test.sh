#!/usr/bin/env bash
# Checks that every C++ file is in the house style (scripts/format.sh --check), then
# builds everything and runs every test through CTest, in four stages:
#   1. Release build, every test (build-tests/), and the Debian package made from that
#      build and checked by lintian (scripts/package-deb.sh);
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/), where any report fails the test;
#   3. a bounded fuzzing run of every fuzz target (scripts/fuzz.sh, CRB_FUZZ_SECONDS
#      per target, 60 by default);
#   4. the editor, the core and GUI tests and the fuzz replays cross-built for Windows
#      and run under Wine (scripts/test-windows.sh, build-windows/).
#   scripts/test.sh            all four stages, as CI runs them
#   scripts/test.sh --quick    the Release stage only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

# Each stage's heading, and the time the one before it took, so that a log shows where
# the time goes.
stage_start=$SECONDS
stage() {
  [ -n "${stage_name:-}" ] && echo "== $stage_name: took $(elapsed_since "$stage_start")"
  stage_name=$1
  stage_start=$SECONDS
  [ -n "$stage_name" ] && echo "== $stage_name"
  return 0
}
elapsed_since() { echo "$(((SECONDS - $1) / 60)) min $(((SECONDS - $1) % 60)) s"; }
trap 'stage ""; echo "== In all: $(elapsed_since 0)"' EXIT

stage "The house style (.clang-format)"
scripts/format.sh --check

stage "Release build and tests"
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-tests -j"$jobs"
ctest --test-dir build-tests --output-on-failure -j"$jobs"
[ "${1:-}" = "--quick" ] && exit 0

stage "The Debian package, checked by lintian"
scripts/package-deb.sh build-tests

stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCRB_SANITIZE=ON -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

stage "Bounded fuzzing runs"
scripts/fuzz.sh "${CRB_FUZZ_SECONDS:-60}"

stage "Windows build and tests under Wine"
scripts/test-windows.sh
