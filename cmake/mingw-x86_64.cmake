# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (see cmake/mingw-common.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QMXDAO_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
