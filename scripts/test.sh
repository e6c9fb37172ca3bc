#!/usr/bin/env bash
# Builds everything in Release and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-tests -j"$(nproc)"
ctest --test-dir build-tests --output-on-failure -j"$(nproc)"
