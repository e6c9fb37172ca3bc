#!/usr/bin/env bash
# Builds the editor in Release and starts it; the optional argument is the curve file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_TESTS=OFF -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build build --target crbedit -j"$(nproc)"
exec build/gui/crbedit "$@"
