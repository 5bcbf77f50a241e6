# Windows: the DLL, the tool and the tests in one bin/ folder of the build, beside the DLLs of
# GCC's runtime that they share (an exception leaves QMXDAOService.dll for its caller only
# through one shared libgcc); the runtime DLLs are installed beside QMXDAOService.dll too.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# libgcc unwinds with DWARF tables on i686 and with the system's SEH tables on x86_64.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QMXDAO_LIBGCC_DLL libgcc_s_seh-1.dll)
else()
  set(QMXDAO_LIBGCC_DLL libgcc_s_dw2-1.dll)
endif()
set(QMXDAO_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll ${QMXDAO_LIBGCC_DLL} libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "cannot find MinGW's ${dll}")
  endif()
  file(REAL_PATH "${path}" path)
  list(APPEND QMXDAO_MINGW_RUNTIME ${path})
endforeach()
file(COPY ${QMXDAO_MINGW_RUNTIME} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
install(FILES ${QMXDAO_MINGW_RUNTIME} DESTINATION ${CMAKE_INSTALL_BINDIR})
