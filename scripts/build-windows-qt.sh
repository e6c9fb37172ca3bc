#!/usr/bin/env bash
# Builds Qt's qtbase for x86_64-w64-mingw32 from Debian's own source package of the
# installed Qt version (apt-get source qt6-base), with the installed Debian Qt as the
# host Qt (moc, rcc, uic), into the Windows cache: $cache/qt6 (printed on the last line).
# Modules: Core, Gui, Widgets, PrintSupport, Test; the windows platform plugin (the
# program's) and the offscreen one (the tests'); Qt's bundled zlib, libpng, FreeType,
# HarfBuzz and PCRE2.
# Only what the editor and its tests use is built: no Direct2D or minimal platform plugin
# (the DirectWrite font engine the first shares a feature with stays in Qt Gui), no
# framebuffer or device-discovery support (for platforms Windows has not), no HarfBuzz
# font subsetter, no graphics view, MDI area, tree or table widget, style sheets, colour or
# font dialog, wizard, undo framework, Markdown or ODF writer (the calendar and date
# editor stay: the print dialog needs them; so does the main window with its tool bars,
# which Qt Widgets' compatibility code includes whatever the features say). Shared libraries, linked
# against the MinGW runtime DLLs, which are copied into its bin/ folder. Reused while its
# stamp matches; 20 to 25 minutes on 2 cores when built, all of it compiling (two jobs
# run nearly all the time).
#   CRB_WINDOWS_CACHE   the cache folder (default ~/.cache/crbedit-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
source_root=$PWD
cache=${CRB_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/crbedit-windows}
qt=$cache/qt6
mingw=x86_64-w64-mingw32
# One job more than cores: the odd moment a job waits on the disk, the other core works.
jobs=$(($(nproc) + 1))

scripts/install-deps.sh g++-mingw-w64-x86-64-posix dpkg-dev ninja-build perl >&2

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
stamp="qt6-base=$version gcc=$($mingw-g++-posix -dumpversion) recipe=$(cat "$0" cmake/mingw-w64-x86_64.cmake | sha1sum | cut -c1-12)"
if [ -f "$qt/.stamp" ] && [ "$(cat "$qt/.stamp")" = "$stamp" ]; then
  echo "$qt"
  exit 0
fi

scripts/debian-sources.sh

# Debian's source leaves out Wacom's wintab headers (their licence forbids changes), which
# the windows platform plugin's tablet support includes: that plugin is built without
# it (pens still work as mice). The Direct2D platform plugin, which compiles the windows
# plugin's sources a second time, is never shipped: it is not built. The direct2d
# feature itself stays on, for Qt Gui's DirectWrite font engine.
patch_windows_plugin() {
  local platforms=$1/src/plugins/platforms
  sed -i 's/QT_CONFIG(tabletevent)/0/' "$platforms"/windows/qwindowscontext.cpp \
    "$platforms"/windows/qwindowspointerhandler.cpp "$platforms"/windows/qwindowspointerhandler.h
  sed -i 's/^\(qt_internal_extend_target(QWindows[A-Za-z0-9]*IntegrationPlugin\) CONDITION QT_FEATURE_tabletevent$/\1 CONDITION OFF/' \
    "$platforms"/windows/CMakeLists.txt
  sed -i 's/^if(QT_FEATURE_direct2d1_1 AND QT_FEATURE_directwrite)$/if(FALSE)/' "$platforms"/CMakeLists.txt
  grep -q '^if(FALSE)$' "$platforms"/CMakeLists.txt
}

# The minimal platform plugin, and the framebuffer and device-discovery support that
# only Linux platform plugins link, are built on every platform: they are left out.
drop_unused_platform_support() {
  local src=$1/src
  sed -i 's/^\( *\)\(add_subdirectory(minimal)\)$/\1# left out: \2/' "$src"/plugins/platforms/CMakeLists.txt
  sed -i 's/^add_subdirectory(\(devicediscovery\|fbconvenience\))$/# left out: &/' "$src"/platformsupport/CMakeLists.txt
  [ "$(cat "$src"/plugins/platforms/CMakeLists.txt "$src"/platformsupport/CMakeLists.txt | grep -c '# left out: ')" = 3 ]
}

# HarfBuzz's font subsetter is compiled with the bundled HarfBuzz, though Qt never calls
# it (Qt's PDF writer subsets fonts itself): its sources are left out. Qt Gui's link
# fails if anything did need them.
drop_harfbuzz_subsetter() {
  local harfbuzz=$1/src/3rdparty/harfbuzz-ng/CMakeLists.txt
  grep -q '^ *src/hb-subset\.cc$' "$harfbuzz"
  sed -i '/^ *src\/hb-subset[-a-z0-9]*\.cc\( src\/hb-subset[-a-z0-9]*\.h\)\?$/d' "$harfbuzz"
  ! grep -q 'hb-subset[-a-z0-9]*\.cc' "$harfbuzz"
}

# Two of Qt's targets are compiled faster in ways Qt's build does not use: HarfBuzz as
# one translation unit (it is written to build so, as its own harfbuzz.cc does), and the
# windows platform plugin, which Qt compiles without a precompiled header, with one of
# Windows' and Qt's headers that nearly every file of it includes. Its files that set
# Windows' version macros before their first include keep compiling without it. The
# same code is compiled; a third of the plugin's time and five sixths of HarfBuzz's go.
compile_faster() {
  local harfbuzz=$1/src/3rdparty/harfbuzz-ng/CMakeLists.txt windows=$1/src/plugins/platforms/windows
  grep -q '^qt_internal_add_3rdparty_library(BundledHarfbuzz$' "$harfbuzz"
  echo 'set_target_properties(BundledHarfbuzz PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)' >>"$harfbuzz"
  grep -q '^qt_internal_add_plugin(QWindowsIntegrationPlugin$' "$windows"/CMakeLists.txt
  local early
  early=$(cd "$windows" && for f in *.cpp; do
    awk '/^#[ \t]*include/ { exit } /^#[ \t]*(define|undef)/ { print FILENAME; exit }' "$f"
  done | tr '\n' ' ')
  [ -n "$early" ]
  cat >>"$windows"/CMakeLists.txt <<CMAKE
target_precompile_headers(QWindowsIntegrationPlugin PRIVATE
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtCore/qt_windows.h>>"
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtCore/qdebug.h>>"
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtGui/qguiapplication.h>>"
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtGui/qwindow.h>>"
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtGui/qaccessible.h>>"
    "\$<\$<COMPILE_LANGUAGE:CXX>:<QtGui/private/qguiapplication_p.h>>")
set_source_files_properties($early PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
CMAKE
}

work=$cache/qt-build
rm -rf "$qt" "$work"
mkdir -p "$work"
(cd "$work" && apt-get source -q "qt6-base=$version" >&2)
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
patch_windows_plugin "$src"
drop_harfbuzz_subsetter "$src"
drop_unused_platform_support "$src"
compile_faster "$src"

# No system library is looked for (everything comes bundled), and the executables Qt
# builds for Windows, like every DLL, use the runtime DLLs.
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$source_root/cmake/mingw-w64-x86_64.cmake" \
  -DCRB_WINDOWS_STATIC_RUNTIME=OFF -DCRB_WINDOWS_PREFIX= \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
  -DFEATURE_pkg_config=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
  -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_xml=OFF -DFEATURE_direct2d=ON -DFEATURE_testlib=ON \
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_printsupport=ON \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
  -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON \
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
  -DFEATURE_sql_sqlite=OFF -DFEATURE_openssl=OFF \
  -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF \
  -DFEATURE_fontcombobox=OFF -DFEATURE_wizard=OFF -DFEATURE_undoview=OFF \
  -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF -DFEATURE_undocommand=OFF \
  -DFEATURE_columnview=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF \
  -DFEATURE_keysequenceedit=OFF -DFEATURE_splashscreen=OFF -DFEATURE_toolbox=OFF \
  -DFEATURE_datawidgetmapper=OFF -DFEATURE_textodfwriter=OFF \
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF \
  -DFEATURE_systemtrayicon=OFF -DFEATURE_sessionmanager=OFF \
  -DFEATURE_treewidget=OFF -DFEATURE_tablewidget=OFF -DFEATURE_style_stylesheet=OFF >&2
cmake --build "$work/build" -j"$jobs" >&2
cmake --install "$work/build" >&2

# The MinGW runtime the DLLs need, beside them.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$($mingw-g++-posix -print-file-name=$dll)" "$qt/bin/"
done

# Ninja's log of what each step took, kept to see where the time goes.
cp "$work/build/.ninja_log" "$cache/qt-build.ninja_log"
rm -rf "$work"
echo "$stamp" >"$qt/.stamp"
echo "$qt"
