# Windows: beside MinGW's import library (libQMXDAOService.dll.a), one that Microsoft's linker
# reads, QMXDAOService.lib. The linker writes the DLL's exports to QMXDAOService.def as it links;
# LLVM's dlltool makes the import library from that list, so the two never disagree.
find_program(QMXDAO_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QMXDAO_DLLTOOL_MACHINE i386:x86-64)
else()
  set(QMXDAO_DLLTOOL_MACHINE i386)
endif()

set(QMXDAO_DEF_FILE ${CMAKE_BINARY_DIR}/QMXDAOService.def)
set(QMXDAO_MSVC_IMPLIB ${CMAKE_BINARY_DIR}/QMXDAOService.lib)
target_link_options(QMXDAOService PRIVATE "-Wl,--output-def,${QMXDAO_DEF_FILE}")
add_custom_command(TARGET QMXDAOService POST_BUILD
  COMMAND ${QMXDAO_DLLTOOL} -m ${QMXDAO_DLLTOOL_MACHINE} -D QMXDAOService.dll
          -d ${QMXDAO_DEF_FILE} -l ${QMXDAO_MSVC_IMPLIB}
  COMMENT "Making QMXDAOService.lib for Microsoft's linker")
install(FILES ${QMXDAO_MSVC_IMPLIB} ${QMXDAO_DEF_FILE} DESTINATION ${CMAKE_INSTALL_LIBDIR})
