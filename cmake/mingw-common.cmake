# What both MinGW-w64 toolchain files share (cmake/mingw-i686.cmake, cmake/mingw-x86_64.cmake):
# Debian's posix thread-model compilers for QMXDAO_MINGW_TRIPLET (GCC 12's win32 model has no
# std::mutex). Libraries come from the folders listed in QMXDAO_MINGW_PREFIX (the cross-built
# prefix and the staged header-only libraries that scripts/run-windows-tests.sh prepares), never
# from the Linux system's folders.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QMXDAO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QMXDAO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QMXDAO_MINGW_TRIPLET}-windres)

if(NOT QMXDAO_MINGW_PREFIX AND DEFINED ENV{QMXDAO_MINGW_PREFIX})
  set(QMXDAO_MINGW_PREFIX "$ENV{QMXDAO_MINGW_PREFIX}")
endif()
# try_compile projects get the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QMXDAO_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${QMXDAO_MINGW_TRIPLET} ${QMXDAO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A static libcrypto. GCC's runtime stays in its DLLs (libstdc++, libgcc_s, winpthread), which
# the build puts beside the programs: an exception thrown in QMXDAOService.dll unwinds through
# the caller's frames only when both share one libgcc.
set(OPENSSL_USE_STATIC_LIBS TRUE)
