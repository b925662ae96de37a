# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread needs). Programs are linked statically, so that a copied .exe runs without the
# compiler's DLLs beside it; Wine, when present, runs them for test discovery and CTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVREX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOVREX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVREX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVREX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOVREX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian keeps Wine's launcher in its library folder, outside the search path.
find_program(TOVREX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TOVREX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOVREX_WINE})
endif()
