# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCRB_WINDOWS_PREFIX=<folder of the libraries built for Windows>
# scripts/test-windows.sh builds that folder (muParser, inih, GoogleTest) and uses this file.
# Test programs run under Wine through scripts/wine-run.sh, at build time too
# (gtest_discover_tests lists the tests by running them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CRB_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CRB_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CRB_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${CRB_MINGW}-windres)
set(CMAKE_AR ${CRB_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${CRB_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

set(CRB_WINDOWS_PREFIX "$ENV{CRB_WINDOWS_PREFIX}" CACHE PATH
    "Folder holding the libraries built for Windows (lib/, include/, lib/pkgconfig/)")
# try_compile projects read this file again: they get the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CRB_WINDOWS_PREFIX)
set(CRB_WINDOWS_QT "$ENV{CRB_WINDOWS_QT}" CACHE PATH
    "The Qt built for Windows (scripts/build-windows-qt.sh); empty: no GUI for Windows")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CRB_WINDOWS_QT)
set(CMAKE_FIND_ROOT_PATH /usr/${CRB_MINGW} ${CRB_WINDOWS_PREFIX} ${CRB_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the Windows libraries only, never a Linux .pc file.
if(CRB_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${CRB_WINDOWS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Programs need no MinGW runtime DLL beside them, under Wine or on a user's machine,
# unless they link DLLs of C++ libraries (Qt), which share the runtime DLLs with them.
if(NOT DEFINED CRB_WINDOWS_STATIC_RUNTIME)
  set(CRB_WINDOWS_STATIC_RUNTIME ON)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CRB_WINDOWS_STATIC_RUNTIME)
if(CRB_WINDOWS_STATIC_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

get_filename_component(CRB_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# The runtime DLLs and Qt's, for programs that link them.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CRB_SOURCE_ROOT}/scripts/wine-run.sh")
if(CRB_WINDOWS_QT)
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --dll-dir "${CRB_WINDOWS_QT}/bin")
endif()
