#!/usr/bin/env bash
# The Windows stage of the tests: the core, the editor, the core and GUI tests and the
# fuzz replay programs cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake) against
# libraries built from Debian's source packages (scripts/build-windows-deps.sh, and Qt's
# qtbase by scripts/build-windows-qt.sh, both cached outside the tree), then run under
# Wine in a Wine prefix made for this run, each test with a time limit. The headless
# export of the Windows editor is then compared with the Linux one's when the Linux
# build (build-tests/) is there, and the packages are made and checked
# (scripts/package-windows.sh, scripts/test-windows-package.sh). Installs the Debian
# packages it lacks.
#   CRB_WINDOWS_CACHE   the cache of libraries (default ~/.cache/crbedit-windows)
#   CRB_WINDOWS_GUI=0   the core, its tests and the fuzz replays only (no Qt), in
#                       build-windows-core/, linked statically
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 dpkg-dev googletest ninja-build fonts-dejavu-core \
  poppler-utils
jobs=$(nproc)
scripts/debian-sources.sh

# One Wine prefix for this run, so that no setting (registry values written by the
# tests included) comes from an earlier one; its server is stopped and it is removed
# at the end. It is made (wineboot) while the libraries build.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-wine.XXXXXX")
export WINEPREFIX
export WINEDEBUG=err+all,fixme-all
work=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-stage.XXXXXX")
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null || true
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock" "$work"
}
trap cleanup EXIT
scripts/wine-run.sh --prepare &
prepare=$!
# What each step took, so that a log shows where the time goes.
step_start=$SECONDS
took() {
  echo "-- $1: took $(((SECONDS - step_start) / 60)) min $(((SECONDS - step_start) % 60)) s"
  step_start=$SECONDS
}

# With the GUI (the default), every program shares the MinGW runtime DLLs with Qt's,
# which Wine finds in Qt's bin/. Qt is built once (20 to 25 minutes on 2 cores), then
# taken from the cache; the other libraries build while its source is fetched and
# configured, which keeps one core busy only.
if [ "${CRB_WINDOWS_GUI:-1}" = 1 ]; then
  scripts/build-windows-qt.sh >"$work/qt" &
  qt_build=$!
fi
prefix=$(scripts/build-windows-deps.sh | tail -n1)
if [ "${CRB_WINDOWS_GUI:-1}" = 1 ]; then
  wait "$qt_build"
  qt=$(tail -n1 "$work/qt")
  took "Qt, muParser, inih and GoogleTest for Windows"
  windows_options=(-DCRB_WINDOWS_QT="$qt" -DQT_HOST_PATH=/usr -DCRB_WINDOWS_STATIC_RUNTIME=OFF -DCRB_BUILD_GUI=ON)
  build=build-windows
else
  windows_options=(-DCRB_BUILD_GUI=OFF)
  build=build-windows-core
fi
# Built with Ninja, which keeps both cores busier than make (a folder made with make
# before is made again).
grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt" || rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCRB_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_BENCH=OFF \
  "${windows_options[@]}" >/dev/null

cmake --build "$build" -j"$jobs"
took "The cross-build"
wait "$prepare"
# One Wine server for every program of the run, kept alive between them: no program
# starts against a server that the one before it has left shutting down. (A server still
# running for the prefix would refuse a second one: it is waited for first.)
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p
ctest --test-dir "$build" --output-on-failure --timeout 300 -j"$jobs"
took "The tests under Wine"

if [ "$build" = build-windows ] && [ -x build-tests/gui/crbedit ]; then
  scripts/compare-windows-export.sh build-tests/gui/crbedit "$build/gui/crbedit.exe" "$qt/bin"
  took "The export compared"
fi

# The packages as users get them: the ZIP and the installer, the program started on the
# windows platform under Xvfb, installed and uninstalled.
if [ "$build" = build-windows ]; then
  mapfile -t packages < <(scripts/package-windows.sh | tail -n2)
  scripts/test-windows-package.sh "${packages[@]}"
  took "The packages"
fi
