# Cross compilation for Windows with MinGW-w64 (posix threads). Included by
# the per-architecture toolchain files, which set LUMBRA_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LUMBRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMBRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMBRA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMBRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Libraries built for the target into a prefix of their own (libjpeg-turbo
# from the bootstrap) are searched there as well.
if(DEFINED LUMBRA_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${LUMBRA_DEPS_PREFIX})
endif()
