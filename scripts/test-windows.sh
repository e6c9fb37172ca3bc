#!/usr/bin/env bash
# The Windows stage of the tests: the editor, its core and GUI tests and the fuzz replay
# programs cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake) against libraries
# built from Debian's source packages (scripts/build-windows-deps.sh and
# scripts/build-windows-qt.sh, cached outside the tree), then run under Wine in a Wine
# prefix made for this run, each test with a time limit. Installs the Debian packages
# it lacks.
#   CRB_WINDOWS_CACHE   the cache of libraries (default ~/.cache/crbedit-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 dpkg-dev googletest ninja-build fonts-dejavu-core
jobs=$(nproc)

prefix=$(scripts/build-windows-deps.sh | tail -n1)
qt=$(scripts/build-windows-qt.sh | tail -n1)

# The programs share the MinGW runtime DLLs with Qt's; Wine finds both in Qt's bin/.
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCRB_WINDOWS_PREFIX="$prefix" -DCRB_WINDOWS_QT="$qt" -DQT_HOST_PATH=/usr \
  -DCRB_WINDOWS_STATIC_RUNTIME=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCRB_BUILD_GUI=ON -DCRB_BUILD_BENCH=OFF >/dev/null

# One Wine prefix for this run, so that no setting (registry values written by the
# tests included) comes from an earlier one; its server is stopped and it is removed
# at the end.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-wine.XXXXXX")
export WINEPREFIX
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
}
trap cleanup EXIT

cmake --build build-windows -j"$jobs"
ctest --test-dir build-windows --output-on-failure --timeout 120 -j"$jobs"
