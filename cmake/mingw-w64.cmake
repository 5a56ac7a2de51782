# Toolchain for the 64-bit Windows build, cross-compiled on Debian with
# MinGW-w64 (posix thread model). The libraries Debian ships no MinGW build of
# come from scripts/mingw-deps, which prints the prefix holding them:
#
#   eval "$(scripts/mingw-deps)"
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DMOVRA_MINGW_PREFIX="$MOVRA_MINGW_PREFIX"
#
# The prefix may also come from the environment variable MOVRA_MINGW_PREFIX.
# wx-config is a shell script run on the build machine, so it sits outside the
# "only in the target root" search rules: wxWidgets_CONFIG_EXECUTABLE points
# at the prefix's copy so that find_package(wxWidgets) uses the cross build.
# Executables are linked with -static: beside the .exe only Windows' own DLLs
# are needed. Test programs run through Wine (CMAKE_CROSSCOMPILING_EMULATOR),
# so ctest works as for a native build; run it after
# `source scripts/wine-env; movra_wine_prefix` for a fresh, quiet prefix.

# Windows-GNU's platform file, read after this one, has find_library try DLL
# import libraries (.dll.a) first, and MinGW's zlib has one: the .exe would
# then need zlib1.dll (pkg_check_modules resolves -lz that way too). So this
# file is read again as the rules override, which comes after the platform
# files, to search static archives only. (A toolchain file is always read
# before any compiler is identified, the override always after.)
if(CMAKE_C_COMPILER_ID OR CMAKE_CXX_COMPILER_ID OR CMAKE_RC_COMPILER_ID)
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
  return()
endif()
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_FILE}")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MOVRA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MOVRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOVRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MOVRA_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${MOVRA_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MOVRA_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT MOVRA_MINGW_PREFIX AND DEFINED ENV{MOVRA_MINGW_PREFIX})
  set(MOVRA_MINGW_PREFIX "$ENV{MOVRA_MINGW_PREFIX}")
endif()
set(MOVRA_MINGW_PREFIX "${MOVRA_MINGW_PREFIX}" CACHE PATH
    "Prefix with the cross-built libraries (printed by scripts/mingw-deps)")
# try_compile projects get a fresh cache: hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MOVRA_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${MOVRA_MINGW_TRIPLET})
if(MOVRA_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${MOVRA_MINGW_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(MOVRA_MINGW_PREFIX AND EXISTS "${MOVRA_MINGW_PREFIX}/bin/wx-config")
  set(wxWidgets_CONFIG_EXECUTABLE "${MOVRA_MINGW_PREFIX}/bin/wx-config" CACHE FILEPATH "")
endif()

# pkg-config looks only in the prefix and MinGW's own directory, never at the
# build machine's .pc files; no sysroot, as the .pc files carry full paths.
set(_movra_pc_dirs /usr/${MOVRA_MINGW_TRIPLET}/lib/pkgconfig)
if(MOVRA_MINGW_PREFIX)
  list(PREPEND _movra_pc_dirs "${MOVRA_MINGW_PREFIX}/lib/pkgconfig" "${MOVRA_MINGW_PREFIX}/share/pkgconfig")
endif()
string(REPLACE ";" ":" _movra_pc_dirs "${_movra_pc_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${_movra_pc_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
# Static linking needs the Libs.private/Requires.private entries too.
set(PKG_CONFIG_ARGN --static CACHE STRING "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

find_program(MOVRA_WINE NAMES wine wine64 wine-stable)
if(MOVRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${MOVRA_WINE}")
endif()
