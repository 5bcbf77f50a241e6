#include "testing/test_seams.h"

#include <string>

#include "c_api/boundary.h"
#include "storage/platform.h"
#include "tools/qmxdb/database_files.h"

extern "C" {

QMXDAO_API(void) qmxdao_test_set_host_folder(const wchar_t* folder, size_t length) {
  qmxdao::platform::setHostFolderForTesting(std::wstring(folder, length));
}

QMXDAO_API(qmxdao_status)
qmxdao_test_create_files(const wchar_t* db_folder, size_t length, int32_t installed) {
  return qmxdao::capi::guarded([&] {
    const std::wstring folder(db_folder, length);
    if (installed != 0) return qmxdb::createDatabaseFiles(folder);
    // A table made and dropped again leaves a keyed database that holds no table.
    for (const wchar_t* name : {L"QMX.db", L"SALE.db"}) {
      qmxdb::createDatabaseFile(folder + name, "create table EMPTY (V); drop table EMPTY;",
                                qmxdb::kDatabaseKey);
    }
  });
}

QMXDAO_API(void) qmxdao_test_capture_debug(qmxdao_test_line_sink sink, void* context) {
  if (sink == nullptr) return qmxdao::platform::setDebugSinkForTesting(nullptr);
  qmxdao::platform::setDebugSinkForTesting(
      [sink, context](const std::wstring& line) { sink(context, line.c_str(), line.size()); });
}

}  // extern "C"
