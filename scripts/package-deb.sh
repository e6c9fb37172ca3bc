#!/usr/bin/env bash
# Makes the Debian package as the README says (a Release build installed under /usr,
# `cpack -G DEB`) and checks it with lintian, which must report no error and no warning:
# <build folder>/crbedit_<version>_amd64.deb, printed on the last line.
#   scripts/package-deb.sh [BUILD]   BUILD: the build folder (default build-pkg); an
#                                    existing build of the tests serves as well
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh lintian dpkg-dev >&2
build=${1:-build-pkg}
# The folders are given, not left to the first configure of the build folder (which may
# have been for /usr/local): the program goes under lib/<multiarch>/crbedit.
libdir=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
folders=(-DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_LIBDIR="$libdir" -DCRB_PROGRAM_INSTALL_DIR="$libdir/crbedit")
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" "${folders[@]}" >/dev/null
else
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_TESTS=OFF -DCRB_BUILD_BENCH=OFF \
    "${folders[@]}" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" >&2
rm -f "$build"/crbedit_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/crbedit_*.deb)
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
