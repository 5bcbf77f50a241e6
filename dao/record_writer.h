// RecordWriter: the INSERT and UPDATE of one call. Each statement text is built once from the
// record's columns and compiled once; every record then binds its column values and runs the
// statement again, which writes exactly what compiling it anew would.
#pragma once

#include <string>
#include <vector>

#include "domain/record_table.h"
#include "domain/statement_text.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "storage/column_binding.h"

namespace qmxdao {

template <typename T>
class RecordWriter {
 public:
  RecordWriter(CppSQLite3DB& db, const RecordTable<T>& table)
      : db_(db), table_(table), idColumn_(idColumnOf(table)) {}

  // Inserts the record. With bindId false the "ID" parameter is NULL and the table assigns the
  // identifier; otherwise the record's own ID is written.
  void insert(const T& record, bool bindId) {
    if (!insertCompiled_) {
      insert_ = db_.compileStatement(insertSql(table_.name(), names()).c_str());
      insertCompiled_ = true;
    }
    const auto& columns = table_.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      int position = static_cast<int>(i) + 1;
      if (!bindId && i == idColumn_) {
        insert_.bindNull(position);
      } else {
        RecordTable<T>::bindColumn(insert_, position, record, columns[i]);
      }
    }
    insert_.execDML();
    insert_.reset();
  }

  // Writes every column but "ID" into the row whose ID the record carries; "ID" is the last
  // parameter.
  void update(const T& record) {
    if (!updateCompiled_) {
      update_ = db_.compileStatement(updateSql(table_.name(), names()).c_str());
      updateCompiled_ = true;
    }
    const auto& columns = table_.columns();
    int position = 1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i == idColumn_) {
        RecordTable<T>::bindColumn(update_, static_cast<int>(columns.size()), record, columns[i]);
      } else {
        RecordTable<T>::bindColumn(update_, position++, record, columns[i]);
      }
    }
    update_.execDML();
    update_.reset();
  }

 private:
  // The index of the "ID" column, found once per call; the column count when there is none.
  static std::size_t idColumnOf(const RecordTable<T>& table) {
    const Column<T>* id = table.find(L"ID");
    return id != nullptr ? static_cast<std::size_t>(id - table.columns().data())
                         : table.columns().size();
  }

  std::vector<const wchar_t*> names() const {
    std::vector<const wchar_t*> names;
    for (const Column<T>& column : table_.columns()) names.push_back(column.name);
    return names;
  }

  CppSQLite3DB& db_;
  const RecordTable<T>& table_;
  const std::size_t idColumn_;
  CppSQLite3Statement insert_;
  CppSQLite3Statement update_;
  bool insertCompiled_ = false;
  bool updateCompiled_ = false;
};

}  // namespace qmxdao
