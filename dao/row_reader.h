// RowReader: reads the rows of one result into records by column name. Each result column is
// matched once against the record's columns; a column the record does not have is ignored, and
// every other is read by its code into its member, as the record's readField would.
#pragma once

#include <vector>

#include "domain/record_table.h"
#include "qmxdao/storage/CppSQLite3Query.h"

namespace qmxdao {

template <typename T>
class RowReader {
 public:
  RowReader(const RecordTable<T>& table, CppSQLite3Query& query) {
    targets_.reserve(static_cast<std::size_t>(query.numFields()));
    for (int field = 0; field < query.numFields(); ++field) {
      targets_.push_back(table.find(query.fieldName(field), static_cast<std::size_t>(field)));
    }
  }

  void read(T& record, CppSQLite3Query& query) const {
    for (std::size_t field = 0; field < targets_.size(); ++field) {
      if (targets_[field] != nullptr) {
        RecordTable<T>::readColumn(record, query, static_cast<int>(field), *targets_[field]);
      }
    }
  }

 private:
  std::vector<const Column<T>*> targets_;
};

}  // namespace qmxdao
