// RecordWriter: the INSERT and UPDATE of one call. Each statement text is built once from the
// record's columns and compiled once; every record then renders its column values, binds them
// and runs the statement again, which writes exactly what compiling it anew would.
#pragma once

#include <cwchar>
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
      : db_(db), table_(table), texts_(table.columns().size()) {}

  // Inserts the record. With bindId false the "ID" parameter is NULL and the table assigns the
  // identifier; otherwise the record's own ID is written.
  void insert(const T& record, bool bindId) {
    if (!insertCompiled_) {
      insert_ = db_.compileStatement(insertSql(table_.name(), names()).c_str());
      insertCompiled_ = true;
    }
    render(record);
    const auto& columns = table_.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      int position = static_cast<int>(i) + 1;
      if (!bindId && isId(columns[i])) {
        insert_.bindNull(position);
      } else {
        bindColumnValue(insert_, position, texts_[i], columns[i].code);
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
    render(record);
    const auto& columns = table_.columns();
    int position = 1;
    std::size_t id = columns.size();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (isId(columns[i])) {
        id = i;
        continue;
      }
      bindColumnValue(update_, position++, texts_[i], columns[i].code);
    }
    if (id < columns.size()) {
      bindColumnValue(update_, static_cast<int>(columns.size()), texts_[id],
                      QMXDataDomain::type_int64);
    }
    update_.execDML();
    update_.reset();
  }

 private:
  static bool isId(const Column<T>& column) { return std::wcscmp(column.name, L"ID") == 0; }

  std::vector<const wchar_t*> names() const {
    std::vector<const wchar_t*> names;
    for (const Column<T>& column : table_.columns()) names.push_back(column.name);
    return names;
  }

  void render(const T& record) {
    const auto& columns = table_.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      RecordTable<T>::valueText(record, columns[i], texts_[i]);
    }
  }

  CppSQLite3DB& db_;
  const RecordTable<T>& table_;
  std::vector<std::wstring> texts_;  // the value texts of the record being written
  CppSQLite3Statement insert_;
  CppSQLite3Statement update_;
  bool insertCompiled_ = false;
  bool updateCompiled_ = false;
};

}  // namespace qmxdao
