// The record structures of the portable layer. A record's header expands
// QMX_PORTABLE_RECORD(Record, kind, its column list) for the definitions of its members, which send
// the record across the C boundary as one qmxdao_value per column, in the order of the same
// column list the library's table is made from, so that the constructor, the merge, the setters
// and the column operations are the library's own.
#pragma once

#include <cstddef>
#include <cwchar>
#include <string>
#include <vector>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/portable/call.h"
#include "qmxdao/storage/CppSQLite3Query.h"

namespace qmxdao::portable {

// Specialised for each record by QMX_PORTABLE_RECORD: its kind and forEach(record, visit), which
// visits every column member in the column list's order.
template <typename Record>
struct RecordColumns;

inline qmxdao_value valueOf(long long member) {
  qmxdao_value value{};
  value.integer = member;
  return value;
}
inline qmxdao_value valueOf(int member) {
  qmxdao_value value{};
  value.integer = member;
  return value;
}
inline qmxdao_value valueOf(float member) {
  qmxdao_value value{};
  value.real = member;
  return value;
}
inline qmxdao_value valueOf(const std::wstring& member) {
  qmxdao_value value{};
  value.text = member.data();
  value.length = member.size();
  return value;
}

inline void assign(long long& member, const qmxdao_value& value) { member = value.integer; }
inline void assign(int& member, const qmxdao_value& value) {
  member = static_cast<int>(value.integer);
}
inline void assign(float& member, const qmxdao_value& value) {
  member = static_cast<float>(value.real);
}
inline void assign(std::wstring& member, const qmxdao_value& value) {
  member.assign(value.text != nullptr ? value.text : L"", value.length);
}

// Appends the record's values (pointing into the record) to values.
template <typename Record>
void appendValues(const Record& record, std::vector<qmxdao_value>& values) {
  RecordColumns<Record>::forEach(record,
                                 [&](const auto& member) { values.push_back(valueOf(member)); });
}

template <typename Record>
std::vector<qmxdao_value> valuesOf(const Record& record) {
  std::vector<qmxdao_value> values;
  values.reserve(RecordColumns<Record>::kColumnCount);
  appendValues(record, values);
  return values;
}

template <typename Record>
void assignValues(Record& record, const qmxdao_value* values) {
  std::size_t column = 0;
  RecordColumns<Record>::forEach(record, [&](auto& member) { assign(member, values[column++]); });
}

// Sinks: the first overwrites the record at context (the library hands over values of its own
// copy, never ones pointing into the record); the second appends a copy of each record to the
// vector at context, read into one scratch record whose strings keep their room from row to row.
template <typename Record>
int32_t QMXDAO_CALL intoRecord(void* context, const qmxdao_value* values) noexcept {
  try {
    assignValues(*static_cast<Record*>(context), values);
    return 0;
  } catch (...) {
    return 1;
  }
}

template <typename Record>
struct RecordList {
  Record scratch;
  std::vector<Record> records;
};

template <typename Record>
int32_t QMXDAO_CALL intoList(void* context, const qmxdao_value* values) noexcept {
  try {
    auto* list = static_cast<RecordList<Record>*>(context);
    assignValues(list->scratch, values);
    list->records.push_back(list->scratch);
    return 0;
  } catch (...) {
    return 1;
  }
}

// Checks once per record that the library's columns are this header's, name for name.
template <typename Record>
void checkColumns() {
  static const bool same = [] {
    int32_t count = 0;
    if (qmxdao_record_shape(RecordColumns<Record>::kKind, &count, nullptr) != QMXDAO_OK ||
        count != static_cast<int32_t>(RecordColumns<Record>::kColumnCount)) {
      return false;
    }
    for (int32_t i = 0; i < count; ++i) {
      const wchar_t* name = nullptr;
      if (qmxdao_record_column(RecordColumns<Record>::kKind, i, &name, nullptr, nullptr) !=
              QMXDAO_OK ||
          std::wcscmp(name, RecordColumns<Record>::kNames[i]) != 0) {
        return false;
      }
    }
    return true;
  }();
  if (!same) {
    throw CppSQLite3Exception(QMXDAO_REFUSED,
                              L"the columns of a record differ between this program's headers and "
                              L"the library it loaded: install the library it was built with");
  }
}

template <typename Record>
void newRecord(Record& record) {
  checkColumns<Record>();
  call(qmxdao_record_new, RecordColumns<Record>::kKind, &intoRecord<Record>,
       static_cast<void*>(&record));
}

template <typename Record>
void assignRecord(Record& target, const Record& source) {
  std::vector<qmxdao_value> targetValues = valuesOf(target);
  std::vector<qmxdao_value> sourceValues = valuesOf(source);
  call(qmxdao_record_assign, RecordColumns<Record>::kKind,
       static_cast<const qmxdao_value*>(targetValues.data()),
       static_cast<const qmxdao_value*>(sourceValues.data()), &intoRecord<Record>,
       static_cast<void*>(&target));
}

template <typename Record>
void setField(Record& record, int32_t setter, const std::wstring& column,
              const qmxdao_value& value) {
  std::vector<qmxdao_value> values = valuesOf(record);
  call(qmxdao_record_set_field, RecordColumns<Record>::kKind,
       static_cast<const qmxdao_value*>(values.data()), setter, column.data(), column.size(),
       &value, &intoRecord<Record>, static_cast<void*>(&record));
}

inline int32_t QMXDAO_CALL intoColumnValues(void* context, const wchar_t* name, size_t nameLength,
                                            const wchar_t* text, size_t textLength,
                                            int32_t code) noexcept {
  try {
    static_cast<QMXDataDomain::ColumnValueMap*>(context)->emplace(
        std::wstring(name, nameLength),
        QMXDataDomain::ColumnValue(std::wstring(text, textLength),
                                   static_cast<QMXDataDomain::data_type>(code)));
    return 0;
  } catch (...) {
    return 1;
  }
}

template <typename Record>
void columnValues(const Record& record, QMXDataDomain::ColumnValueMap& values) {
  std::vector<qmxdao_value> own = valuesOf(record);
  call(qmxdao_record_column_values, RecordColumns<Record>::kKind,
       static_cast<const qmxdao_value*>(own.data()), &intoColumnValues,
       static_cast<void*>(&values));
}

// The INSERT or UPDATE text over the columns in the map's own order.
template <typename Record>
void statementSql(int32_t statement, const QMXDataDomain::ColumnValueMap& values,
                  std::wstring& sql) {
  std::vector<qmxdao_text> columns;
  for (const auto& entry : values) columns.push_back({entry.first.data(), entry.first.size()});
  call(qmxdao_record_statement_sql, RecordColumns<Record>::kKind, statement,
       static_cast<const qmxdao_text*>(columns.data()), columns.size(), &toWide,
       static_cast<void*>(&sql));
}

template <typename Record>
void readField(Record& record, CppSQLite3Query& query, int field, QMXDataDomain::data_type code) {
  std::vector<qmxdao_value> values = valuesOf(record);
  call(qmxdao_record_read_field, RecordColumns<Record>::kKind,
       static_cast<const qmxdao_value*>(values.data()), Access::handle(query), field,
       static_cast<int32_t>(code), &intoRecord<Record>, static_cast<void*>(&record));
}

template <typename Record>
std::wstring tableName() {
  const wchar_t* name = nullptr;
  call(qmxdao_record_shape, RecordColumns<Record>::kKind, static_cast<int32_t*>(nullptr), &name);
  return name;
}

}  // namespace qmxdao::portable

#define QMX_PORTABLE_VISIT(member, code) visit(record.member);
#define QMX_PORTABLE_NAME(member, code) QMX_PORTABLE_WIDE(#member),
#define QMX_PORTABLE_COUNT(member, code) +1
#define QMX_PORTABLE_WIDE(text) L##text

// The definitions of one record's members.
#define QMX_PORTABLE_RECORD(Record, kind, COLUMNS)                                                \
  template <>                                                                                     \
  struct qmxdao::portable::RecordColumns<QMXDataDomain::Record> {                                 \
    static constexpr int32_t kKind = kind;                                                        \
    static constexpr std::size_t kColumnCount = 0 COLUMNS(QMX_PORTABLE_COUNT);                    \
    static constexpr const wchar_t* kNames[] = {COLUMNS(QMX_PORTABLE_NAME)};                      \
    template <typename R, typename Visit>                                                         \
    static void forEach(R& record, Visit&& visit) {                                               \
      COLUMNS(QMX_PORTABLE_VISIT)                                                                 \
    }                                                                                             \
  };                                                                                              \
  inline QMXDataDomain::Record::Record() { qmxdao::portable::newRecord(*this); }                  \
  inline QMXDataDomain::Record::Record(const Record& other) = default;                            \
  inline QMXDataDomain::Record::Record(Record&& other) noexcept = default;                        \
  inline QMXDataDomain::Record& QMXDataDomain::Record::operator=(const Record& other) {           \
    qmxdao::portable::assignRecord(*this, other);                                                 \
    return *this;                                                                                 \
  }                                                                                               \
  inline std::wstring QMXDataDomain::Record::getTableName() const {                               \
    return qmxdao::portable::tableName<Record>();                                                 \
  }                                                                                               \
  inline void QMXDataDomain::Record::getColumnValues(ColumnValueMap& values) const {              \
    qmxdao::portable::columnValues(*this, values);                                                \
  }                                                                                               \
  inline void QMXDataDomain::Record::buildInsertSql(const ColumnValueMap& values,                 \
                                                    std::wstring& sql) const {                    \
    qmxdao::portable::statementSql<Record>(QMXDAO_INSERT_SQL, values, sql);                       \
  }                                                                                               \
  inline void QMXDataDomain::Record::buildUpdateSql(const ColumnValueMap& values,                 \
                                                    std::wstring& sql) const {                    \
    qmxdao::portable::statementSql<Record>(QMXDAO_UPDATE_SQL, values, sql);                       \
  }                                                                                               \
  inline void QMXDataDomain::Record::setTextField(const std::wstring& column,                     \
                                                  const std::wstring& value) {                    \
    qmxdao::portable::setField(*this, QMXDAO_SET_TEXT, column, qmxdao::portable::valueOf(value)); \
  }                                                                                               \
  inline void QMXDataDomain::Record::setIntField(const std::wstring& column, int value) {         \
    qmxdao::portable::setField(*this, QMXDAO_SET_INT, column, qmxdao::portable::valueOf(value));  \
  }                                                                                               \
  inline void QMXDataDomain::Record::setFloatField(const std::wstring& column, double value) {    \
    qmxdao_value real{};                                                                          \
    real.real = value;                                                                            \
    qmxdao::portable::setField(*this, QMXDAO_SET_FLOAT, column, real);                            \
  }                                                                                               \
  inline void QMXDataDomain::Record::readField(CppSQLite3Query& query, int field,                 \
                                               data_type code) {                                  \
    qmxdao::portable::readField(*this, query, field, code);                                       \
  }
