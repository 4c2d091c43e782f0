# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads).
# Libraries are searched only in the MinGW system folder and in the prefixes
# given as CMAKE_PREFIX_PATH (the libraries scripts/build-windows builds).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELKOR_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VELKOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKOR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELKOR_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the target's .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "")
foreach(_prefix IN LISTS CMAKE_PREFIX_PATH)
  set(ENV{PKG_CONFIG_LIBDIR} "$ENV{PKG_CONFIG_LIBDIR}:${_prefix}/lib/pkgconfig")
endforeach()
