# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (posix thread model: GCC 12's win32
# model has no std::mutex). Libraries come from the folders listed in QMXDAO_MINGW_PREFIX (the
# cross-built prefix and the staged header-only libraries that scripts/run-windows-tests.sh
# prepares), never from the Linux system's folders.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

if(NOT QMXDAO_MINGW_PREFIX AND DEFINED ENV{QMXDAO_MINGW_PREFIX})
  set(QMXDAO_MINGW_PREFIX "$ENV{QMXDAO_MINGW_PREFIX}")
endif()
# try_compile projects get the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QMXDAO_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${QMXDAO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A static libcrypto. GCC's runtime stays in its DLLs (libstdc++, libgcc_s, winpthread), which
# the build puts beside the programs: an exception thrown in QMXDAOService.dll unwinds through
# the caller's frames only when both share one libgcc.
set(OPENSSL_USE_STATIC_LIBS TRUE)
