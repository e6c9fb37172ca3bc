#!/usr/bin/env bash
# Puts the include lines of every C++ file in the house order of .clang-format (own
# header, core, gui, the tests' own support headers, Qt, other libraries, the standard
# library), leaving the rest of each file as it is.
#   scripts/format-includes.sh [FILE...]     (default: every file of core gui tests fuzz bench)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || scripts/install-deps.sh clang-format
if [ $# -eq 0 ]; then
  mapfile -t files < <(find core gui tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) | sort)
else
  files=("$@")
fi
for f in "${files[@]}"; do
  last=$(grep -n '^#include' "$f" | tail -n 1 | cut -d: -f1 || true)
  [ -n "$last" ] && clang-format -i --style=file --lines=1:"$last" "$f"
done
