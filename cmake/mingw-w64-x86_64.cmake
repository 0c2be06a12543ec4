# Cross-builds Porongo as a 64-bit Windows program with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-win -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
# The C and C++ runtimes and winpthreads are linked statically, so porongo.exe needs no DLL
# beyond Windows' own. Programs built for the tests run under Wine, CTest's cross-compiling
# emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_ASM_COMPILER ${triple}-gcc-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 loader, called directly: the `wine` wrapper looks for a 32-bit Wine first
# and asks for it on stderr.
find_program(PORONGO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
             DOC "Wine, to run the cross-built programs")
if(PORONGO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PORONGO_WINE}")
endif()
