/* The test seams as C functions, so that a suite compiled in the portable mode (by another compiler
 * and standard library) reaches them as the ordinary suite does. They are exported only by the
 * test build of the library (testing/CMakeLists.txt), never by QMXDAOService itself. */
#pragma once

#include "qmxdao/c_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The folder standing in for the host executable's (ending with the separator); empty: the real
 * lookup. */
QMXDAO_API(void) qmxdao_test_set_host_folder(const wchar_t* folder, size_t length);

/* Creates "QMX.db" and "SALE.db" in db_folder (ending with the separator), keyed: installed from
 * the shipped schema, or else holding no table. */
QMXDAO_API(qmxdao_status)
qmxdao_test_create_files(const wchar_t* db_folder, size_t length, int32_t installed);

/* Sends the library's debugger output lines to sink instead of the system; a null sink restores
 * the system's output. */
typedef void(QMXDAO_CALL* qmxdao_test_line_sink)(void* context, const wchar_t* line, size_t length);
QMXDAO_API(void) qmxdao_test_capture_debug(qmxdao_test_line_sink sink, void* context);

#ifdef __cplusplus
}
#endif
