# Windows: one zip per architecture (cmake --build BUILD --target package) holding the installed
# tree: bin/ with QMXDAOService.dll, GCC's runtime DLLs beside it and qmxdb.exe; lib/ with both
# import libraries, the export list and the CMake package; include/ and the schema.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME QMXDAOService)
set(CPACK_PACKAGE_VENDOR QMXDAOService)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QMXDAO_PACKAGE_SYSTEM win64)
else()
  set(QMXDAO_PACKAGE_SYSTEM win32)
endif()
set(CPACK_PACKAGE_FILE_NAME QMXDAOService-${PROJECT_VERSION}-${QMXDAO_PACKAGE_SYSTEM})
include(CPack)
