#!/usr/bin/env bash
# Puts every C++ file of core, gui, tests, fuzz and bench in the house style of
# .clang-format (Debian 12's clang-format 14), or with --check only lists the files that
# differ from it and fails when there is one; the test command runs the check.
#   scripts/format.sh [--check] [FILE...]     (default: every file of those folders)
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
command -v clang-format >/dev/null || scripts/install-deps.sh clang-format
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files -- 'core/*.cpp' 'core/*.h' 'gui/*.cpp' 'gui/*.h' 'tests/*.cpp' 'tests/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' 'bench/*.cpp' 'bench/*.h')
else
  files=("$@")
fi
if [ "$check" = 0 ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
  echo "Not in the style of .clang-format (scripts/format.sh puts them in it):" >&2
  printf '  %s\n' "${differ[@]}" >&2
  exit 1
fi
