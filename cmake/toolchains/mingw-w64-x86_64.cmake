# Cross-compiles for 64-bit Windows with Debian's mingw-w64. The POSIX thread model is the one whose
# libstdc++ has std::thread; the programs link their runtime statically, so the .exe files run
# without copying any mingw DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
