// The per-record operations that every record structure offers, defined once over its
// RecordTable. A record's source file declares its table and then expands
// QMX_DEFINE_RECORD_OPERATIONS(Record, table()) for the forwarding definitions.
#pragma once

#include "domain/record_table.h"
#include "domain/statement_text.h"

#define QMX_DEFINE_RECORD_OPERATIONS(Record, table)                                    \
  Record::Record(const Record& other) = default;                                       \
  Record::Record(Record&& other) noexcept = default;                                   \
  std::wstring Record::getTableName() const { return (table).name(); }                 \
  void Record::getColumnValues(ColumnValueMap& values) const {                         \
    (table).columnValues(*this, values);                                               \
  }                                                                                    \
  void Record::buildInsertSql(const ColumnValueMap& values, std::wstring& sql) const { \
    sql = qmxdao::insertSql((table).name(), qmxdao::columnOrder(values));              \
  }                                                                                    \
  void Record::buildUpdateSql(const ColumnValueMap& values, std::wstring& sql) const { \
    sql = qmxdao::updateSql((table).name(), qmxdao::columnOrder(values));              \
  }                                                                                    \
  void Record::setTextField(const std::wstring& column, const std::wstring& value) {   \
    (table).setText(*this, column.c_str(), value.c_str());                             \
  }                                                                                    \
  void Record::setIntField(const std::wstring& column, int value) {                    \
    (table).setInt(*this, column.c_str(), value);                                      \
  }                                                                                    \
  void Record::setFloatField(const std::wstring& column, double value) {               \
    (table).setFloat(*this, column.c_str(), value);                                    \
  }                                                                                    \
  void Record::readField(CppSQLite3Query& query, int field, data_type code) {          \
    (table).readField(*this, query, field, code);                                      \
  }
