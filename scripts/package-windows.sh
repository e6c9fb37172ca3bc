#!/usr/bin/env bash
# Makes the Windows package: the editor cross-built for 64-bit Windows (as the Windows
# stage of the tests builds it, in build-windows/) and `cpack -G ZIP` of it:
# build-windows/crbedit-<version>-win64.zip, printed on the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix dpkg-dev googletest ninja-build
prefix=$(scripts/build-windows-deps.sh | tail -n1)
qt=$(scripts/build-windows-qt.sh | tail -n1)
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCRB_WINDOWS_PREFIX="$prefix" -DCRB_WINDOWS_QT="$qt" -DQT_HOST_PATH=/usr \
  -DCRB_WINDOWS_STATIC_RUNTIME=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCRB_BUILD_GUI=ON -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build build-windows -j"$(nproc)" --target crbedit
(cd build-windows && cpack -G ZIP >/dev/null)
ls build-windows/crbedit-*-win64.zip
