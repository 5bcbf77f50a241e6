// The nine record tables, each with the file it lives in and the library classes that load it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/record_batch.h"

namespace qmxdb {

struct RecordKind {
  const char* table;
  QMXDAO::enDBNameType file;
  std::unique_ptr<RecordBatch> (*newBatch)();
};

// In the order of the shop's day: catalogue, people, buying, selling.
const std::vector<RecordKind>& recordKinds();

// The record kind of a table name (exact, as the records write it); null for any other table.
const RecordKind* findRecordKind(const std::string& table);

// "CUSTOMER, ITEM, ..." for messages.
std::string recordTableNames();

}  // namespace qmxdb
