#!/usr/bin/env bash
# Makes the Windows packages of the editor cross-built for 64-bit Windows (as the Windows
# stage of the tests builds it, in build-windows/), both of the same stripped files:
#   build-windows/crbedit-<version>-win64.zip   one folder to unpack anywhere (`cpack -G ZIP`)
#   build-windows/crbedit-<version>-win64.msi   the installer (msitools' wixl, from
#                                               resources/crbedit.wxs)
# printed on the last two lines. scripts/test-windows-package.sh checks them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev googletest ninja-build wixl >&2
prefix=$(scripts/build-windows-deps.sh | tail -n1)
qt=$(scripts/build-windows-qt.sh | tail -n1)
build=build-windows
# Built with Ninja, which keeps both cores busier than make (a folder made with make
# before is made again).
grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt" || rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCRB_WINDOWS_PREFIX="$prefix" -DCRB_WINDOWS_QT="$qt" -DQT_HOST_PATH=/usr \
  -DCRB_WINDOWS_STATIC_RUNTIME=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCRB_BUILD_GUI=ON -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target crbedit >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
rm -f "$build"/crbedit-*-win64.zip "$build"/crbedit-*-win64.msi
(cd "$build" && cpack -G ZIP >/dev/null)

# The installer holds the files the ZIP holds: installed into a folder of their own, then
# listed for wixl, each file a component of its own (wixl-heat).
stage=$build/installer-files
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) |
  wixl-heat -p "" --directory-ref INSTALLDIR --component-group ProgramFiles --var var.Stage --win64 \
    >"$build/crbedit-files.wxs"
# The installer's version is three numbers (2.04.10 is 2.4.10).
msi_version=$(echo "$version" | awk -F. '{ printf "%d.%d.%d", $1, $2, $3 }')
wixl -a x64 -D Version="$msi_version" -D Stage="$stage" -D Win64=yes -D Icon=resources/crbedit.ico \
  -o "$build/crbedit-$version-win64.msi" resources/crbedit.wxs "$build/crbedit-files.wxs"
echo "$build/crbedit-$version-win64.zip"
echo "$build/crbedit-$version-win64.msi"
