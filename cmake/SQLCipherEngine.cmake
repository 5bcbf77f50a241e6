# The storage engine: SQLCipher 4.14.0 (SQLite 3.51.3) from the pinned amalgamation that
# scripts/fetch-sqlcipher.sh puts in a cache outside the checkout, compiled by the project as a
# static library whose symbols stay hidden inside QMXDAOService (the same on Linux and Windows).
# Target qmxdao_sqlcipher: links OpenSSL's libcrypto (the engine's crypto provider) and gives its
# users <sqlcipher/sqlite3.h>.
set(QMXDAO_CACHE_DIR "$ENV{HOME}/.cache/qmxdao" CACHE PATH
  "Folder for downloaded and cross-built sources, outside the checkout")
if(DEFINED ENV{QMXDAO_CACHE})
  set(QMXDAO_CACHE_DIR "$ENV{QMXDAO_CACHE}")
endif()

execute_process(
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/fetch-sqlcipher.sh ${QMXDAO_CACHE_DIR}
  OUTPUT_VARIABLE QMXDAO_SQLCIPHER_DIR OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE fetch_result)
if(NOT fetch_result EQUAL 0 OR NOT EXISTS ${QMXDAO_SQLCIPHER_DIR}/sqlite3.c)
  message(FATAL_ERROR "cannot fetch the pinned SQLCipher amalgamation (scripts/fetch-sqlcipher.sh)")
endif()
message(STATUS "SQLCipher amalgamation: ${QMXDAO_SQLCIPHER_DIR}")

# The header, under the name the library's sources include.
set(QMXDAO_ENGINE_INCLUDE ${CMAKE_BINARY_DIR}/engine-include)
configure_file(${QMXDAO_SQLCIPHER_DIR}/sqlite3.h ${QMXDAO_ENGINE_INCLUDE}/sqlcipher/sqlite3.h
  COPYONLY)

set(QMXDAO_ENGINE_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../storage/engine/sqlcipher_engine.c)
# The engine's crypto provider, our own code: built with the project's warnings.
set(QMXDAO_CRYPTO_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../storage/engine/crypto_provider.c)
add_library(qmxdao_sqlcipher STATIC ${QMXDAO_ENGINE_SOURCE} ${QMXDAO_CRYPTO_SOURCE})
target_include_directories(qmxdao_sqlcipher
  PRIVATE ${QMXDAO_SQLCIPHER_DIR}
  INTERFACE $<BUILD_INTERFACE:${QMXDAO_ENGINE_INCLUDE}>)
target_compile_definitions(qmxdao_sqlcipher
  PUBLIC SQLITE_HAS_CODEC
  PRIVATE
    SQLITE_TEMP_STORE=2
    SQLITE_THREADSAFE=1
    SQLCIPHER_CRYPTO_OPENSSL
    SQLITE_OMIT_LOAD_EXTENSION
    # SQLCipher's own set-up runs inside ours (storage/engine/sqlcipher_engine.c).
    SQLITE_EXTRA_INIT=qmxdao_engine_init
    SQLITE_EXTRA_SHUTDOWN=sqlcipher_extra_shutdown
    # A library never writes to its host's stderr.
    SQLCIPHER_OMIT_DEFAULT_LOGGING
    NDEBUG)
set_target_properties(qmxdao_sqlcipher PROPERTIES
  C_STANDARD 99 C_EXTENSIONS ON C_VISIBILITY_PRESET hidden POSITION_INDEPENDENT_CODE ON)
target_compile_options(qmxdao_sqlcipher PRIVATE -O2)
# Third-party code: built as shipped, without our warnings-as-errors or sanitizers.
set_source_files_properties(${QMXDAO_ENGINE_SOURCE} PROPERTIES COMPILE_OPTIONS "-w;-fno-sanitize=all")
set(QMXDAO_CRYPTO_OPTIONS -Wall -Wextra -Werror)
if(QMXDAO_SANITIZE)
  list(APPEND QMXDAO_CRYPTO_OPTIONS -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
set_source_files_properties(${QMXDAO_CRYPTO_SOURCE} PROPERTIES COMPILE_OPTIONS "${QMXDAO_CRYPTO_OPTIONS}")
target_link_libraries(qmxdao_sqlcipher PUBLIC OpenSSL::Crypto Threads::Threads ${CMAKE_DL_LIBS})
if(WIN32)
  target_link_libraries(qmxdao_sqlcipher PUBLIC ws2_32 crypt32 bcrypt)
  # The DLL's entry point is the library's own (storage/platform.cc); SQLCipher frees its
  # resources through its atexit handler, which MinGW runs when the DLL unloads.
  target_compile_definitions(qmxdao_sqlcipher PRIVATE SQLCIPHER_OMIT_DLLMAIN)
endif()
