# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (see cmake/mingw-common.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QMXDAO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
