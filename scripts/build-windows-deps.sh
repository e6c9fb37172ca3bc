#!/usr/bin/env bash
# Builds the libraries the Windows build links, for x86_64-w64-mingw32, into a cache
# outside the source tree (printed on the last line):
#   muParser and inih from Debian's own source packages (apt-get source),
#   GoogleTest from Debian's /usr/src/googletest.
# All are static. The cache is reused while its stamp matches; delete it to rebuild.
#   CRB_WINDOWS_CACHE   the cache folder (default ~/.cache/crbedit-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
source_root=$PWD
cache=${CRB_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/crbedit-windows}
prefix=$cache/prefix
toolchain=$source_root/cmake/mingw-w64-x86_64.cmake
mingw=x86_64-w64-mingw32
jobs=$(nproc)

# The pkg-config files name the prefix by its full path: a cache moved elsewhere is
# rebuilt, not used with paths that lead nowhere.
stamp="prefix=$prefix muparser=$(dpkg-query -W -f='${Version}' libmuparser-dev) googletest=$(dpkg-query -W -f='${Version}' googletest) gcc=$($mingw-g++-posix -dumpversion) recipe=$(cat "$0" "$toolchain" | sha1sum | cut -c1-12)"
if [ -f "$prefix/.stamp" ] && [ "$(cat "$prefix/.stamp")" = "$stamp" ]; then
  echo "$prefix"
  exit 0
fi
rm -rf "$prefix" "$cache/src"
mkdir -p "$prefix/lib/pkgconfig" "$prefix/include" "$cache/src"

scripts/debian-sources.sh

# The source of `package`, unpacked with Debian's patches under $cache/src: bookworm's
# first, the next release's when bookworm's cannot be fetched.
fetch_source() {
  local package=$1
  (
    cd "$cache/src"
    apt-get source -q "$package/bookworm" >&2 || apt-get source -q "$package/trixie" >&2
  )
  find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name "*$2*" | head -n1
}

# muParser: static, without OpenMP; users must define MUPARSER_STATIC, which its .pc says.
muparser_src=$(fetch_source muparser muparser)
cmake -S "$muparser_src" -B "$cache/src/muparser-build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCRB_WINDOWS_PREFIX="$prefix" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DENABLE_OPENMP=OFF -DENABLE_SAMPLES=OFF -DENABLE_WIDE_CHAR=OFF >&2
cmake --build "$cache/src/muparser-build" -j"$jobs" >&2
cmake --install "$cache/src/muparser-build" >&2
sed -i 's/^Cflags:\(.*\)$/Cflags:\1 -DMUPARSER_STATIC/' "$prefix"/lib/pkgconfig/muparser.pc

# inih: its C parser with the library's default options, as Debian builds it.
inih_src=$(fetch_source libinih inih)
$mingw-gcc-posix -O2 -c "$inih_src/ini.c" -o "$cache/src/ini.o"
$mingw-gcc-ar-posix rcs "$prefix/lib/libinih.a" "$cache/src/ini.o"
cp "$inih_src/ini.h" "$prefix/include/"
inih_version=$(sed -n "s/.*version *: *'\([0-9]*\)'.*/\1/p" "$inih_src/meson.build" | head -n1)
cat >"$prefix/lib/pkgconfig/inih.pc" <<PC
prefix=$prefix
Name: inih
Description: simple .INI file parser
Version: ${inih_version:-0}
Libs: -L\${prefix}/lib -linih
Cflags: -I\${prefix}/include
PC

# GoogleTest and GoogleMock from Debian's sources.
cmake -S /usr/src/googletest -B "$cache/src/googletest-build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCRB_WINDOWS_PREFIX="$prefix" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF >&2
cmake --build "$cache/src/googletest-build" -j"$jobs" >&2
cmake --install "$cache/src/googletest-build" >&2

echo "$stamp" >"$prefix/.stamp"
echo "$prefix"
