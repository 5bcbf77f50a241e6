// RecordTable: a record declared once as data: its table name and, in its column order, each
// column's name, the member that holds it and the data_type code with which it is written and
// read. Everything that turns a record into column values or a result row into a record works
// from this declaration: the value texts, the setters and their groups, the row reader, the
// field-by-field copy and comparison.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "domain/float_text.h"
#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/storage/CppSQLite3Query.h"
#include "qmxdao/storage/CppSQLite3Statement.h"
#include "storage/column_binding.h"
#include "storage/query_reader.h"

// One entry of a record's column list (QMX_<RECORD>_COLUMNS) as a Column, in a scope that names
// the record type Record.
#define QMX_TABLE_COLUMN(member, code) \
  qmxdao::Column<Record>{QMX_TABLE_WIDE(#member), &Record::member, QMXDataDomain::code},
#define QMX_TABLE_WIDE(text) L##text

namespace qmxdao {

template <typename T>
using Member = std::variant<long long T::*, int T::*, float T::*, std::wstring T::*>;

template <typename T>
struct Column {
  const wchar_t* name;
  Member<T> member;
  QMXDataDomain::data_type code;
};

template <typename T>
class RecordTable {
 public:
  RecordTable(const wchar_t* tableName, std::initializer_list<Column<T>> columns)
      : name_(tableName), columns_(columns) {}

  const std::wstring& name() const { return name_; }
  const std::vector<Column<T>>& columns() const { return columns_; }

  const Column<T>* find(const wchar_t* name) const {
    for (const Column<T>& column : columns_) {
      if (std::wcscmp(column.name, name) == 0) return &column;
    }
    return nullptr;
  }
  // The same, trying the column at position first: a "select *" lists the table's columns in
  // their order.
  const Column<T>* find(const wchar_t* name, std::size_t position) const {
    if (position < columns_.size() && std::wcscmp(columns_[position].name, name) == 0) {
      return &columns_[position];
    }
    return find(name);
  }

  // The value text of one column: "%d" for ints, "%I64d" for 64-bit ints, fixed notation with
  // six decimals for floats (widened to double), the text itself for strings.
  static void valueText(const T& record, const Column<T>& column, std::wstring& text) {
    wchar_t buffer[64];
    if (auto text_member = std::get_if<std::wstring T::*>(&column.member)) {
      text = record.*(*text_member);
      return;
    }
    if (auto int_member = std::get_if<int T::*>(&column.member)) {
      std::swprintf(buffer, 64, L"%d", record.*(*int_member));
    } else if (auto int64_member = std::get_if<long long T::*>(&column.member)) {
      std::swprintf(buffer, 64, L"%lld", record.*(*int64_member));
    } else {
      // 64 characters hold every float in fixed notation (the largest has 39 digits).
      std::swprintf(buffer, 64, L"%f",
                    static_cast<double>(record.*std::get<float T::*>(column.member)));
    }
    text = buffer;
  }

  // Binds one column of the record at position: the same value that binding its value text by
  // its code gives, without writing the text and reading it back.
  static void bindColumn(CppSQLite3Statement& statement, int position, const T& record,
                         const Column<T>& column) {
    const auto* text = std::get_if<std::wstring T::*>(&column.member);
    const auto* narrow = std::get_if<int T::*>(&column.member);
    const auto* wide = std::get_if<long long T::*>(&column.member);
    const auto* real = std::get_if<float T::*>(&column.member);
    switch (column.code) {
      case QMXDataDomain::type_text:
        if (text != nullptr) {
          const std::wstring& value = record.*(*text);
          if (value.empty()) return statement.bindNull(position);  // "" stores NULL
          return bindText(statement, position, value.data(), value.size());
        }
        break;
      case QMXDataDomain::type_int:
        if (narrow != nullptr) return statement.bind(position, record.*(*narrow));
        if (wide != nullptr) return statement.bind(position, saturatedInt32(record.*(*wide)));
        break;
      case QMXDataDomain::type_int64:
        if (narrow != nullptr)
          return statement.bind(position, static_cast<long long>(record.*(*narrow)));
        if (wide != nullptr) return statement.bind(position, record.*(*wide));
        break;
      case QMXDataDomain::type_float:
        if (real != nullptr) return statement.bind(position, sixDecimals(record.*(*real)));
        break;
      default:
        break;
    }
    // Any other pairing of member and code goes the long way, through the value text.
    std::wstring value;
    valueText(record, column, value);
    bindColumnValue(statement, position, value, column.code);
  }

  void columnValues(const T& record, QMXDataDomain::ColumnValueMap& values) const {
    std::wstring text;
    for (const Column<T>& column : columns_) {
      valueText(record, column, text);
      values.emplace(column.name, QMXDataDomain::ColumnValue(text, column.code));
    }
  }

  // The setters: each accepts the columns of its group, matched by exact name, and ignores
  // every other name. The text, int and float groups are the columns held in such members (the
  // int group only those coded type_int); the 64-bit group is every column coded type_int64,
  // which a 32-bit member takes as its low 32 bits.
  bool setText(T& record, const wchar_t* name, const wchar_t* value) const {
    const Column<T>* column = find(name);
    auto member = column != nullptr ? std::get_if<std::wstring T::*>(&column->member) : nullptr;
    if (member == nullptr) return false;
    record.*(*member) = value;
    return true;
  }

  bool setInt(T& record, const wchar_t* name, int value) const {
    const Column<T>* column = find(name);
    if (column == nullptr || column->code != QMXDataDomain::type_int) return false;
    auto member = std::get_if<int T::*>(&column->member);
    if (member == nullptr) return false;
    record.*(*member) = value;
    return true;
  }

  bool setFloat(T& record, const wchar_t* name, double value) const {
    const Column<T>* column = find(name);
    auto member = column != nullptr ? std::get_if<float T::*>(&column->member) : nullptr;
    if (member == nullptr) return false;
    record.*(*member) = static_cast<float>(value);
    return true;
  }

  bool setInt64(T& record, const wchar_t* name, long long value) const {
    const Column<T>* column = find(name);
    if (column == nullptr || column->code != QMXDataDomain::type_int64) return false;
    return assignInt64(record, *column, value);
  }

  // Reads field of the query's current row by code, through the setter of that code.
  void readField(T& record, CppSQLite3Query& query, int field,
                 QMXDataDomain::data_type code) const {
    const wchar_t* name = query.fieldName(field);
    switch (code) {
      case QMXDataDomain::type_int:
        setInt(record, name, query.getIntField(field, 0));
        break;
      case QMXDataDomain::type_int64:
        setInt64(record, name, query.getInt64Field(field, 0));
        break;
      case QMXDataDomain::type_float:
        setFloat(record, name, query.getFloatField(field, 0.0));
        break;
      case QMXDataDomain::type_text:
        setText(record, name, query.getStringField(field, L""));
        break;
      default:
        break;
    }
  }

  // Reads field of the query's current row into the column's member by the column's own code:
  // what readField does for a name this record has, without looking the name up again.
  static void readColumn(T& record, CppSQLite3Query& query, int field, const Column<T>& column) {
    switch (column.code) {
      case QMXDataDomain::type_int:
        if (auto member = std::get_if<int T::*>(&column.member)) {
          record.*(*member) = query.getIntField(field, 0);
        }
        break;
      case QMXDataDomain::type_int64:
        assignInt64(record, column, query.getInt64Field(field, 0));
        break;
      case QMXDataDomain::type_float:
        if (auto member = std::get_if<float T::*>(&column.member)) {
          record.*(*member) = static_cast<float>(query.getFloatField(field, 0.0));
        }
        break;
      case QMXDataDomain::type_text:
        if (auto member = std::get_if<std::wstring T::*>(&column.member)) {
          QueryReader::text(query, field, record.*(*member));
        }
        break;
      default:
        break;
    }
  }

  // Copies every column member from source, except those listed.
  void copyFields(T& target, const T& source, std::initializer_list<Member<T>> except = {}) const {
    for (const Column<T>& column : columns_) {
      if (listed(column.member, except)) continue;
      std::visit([&](auto member) { target.*member = source.*member; }, column.member);
    }
  }

  // True when a column member other than those listed differs; a NaN differs from everything.
  bool differs(const T& a, const T& b, std::initializer_list<Member<T>> ignored) const {
    for (const Column<T>& column : columns_) {
      if (listed(column.member, ignored)) continue;
      bool same = std::visit([&](auto member) { return a.*member == b.*member; }, column.member);
      if (!same) return true;
    }
    return false;
  }

 private:
  // A 64-bit value as its "%lld" text reads as a 32-bit int: beyond the range, the nearest end.
  static int saturatedInt32(long long value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int>(value);
  }

  static bool assignInt64(T& record, const Column<T>& column, long long value) {
    if (auto wide = std::get_if<long long T::*>(&column.member)) {
      record.*(*wide) = value;
      return true;
    }
    if (auto narrow = std::get_if<int T::*>(&column.member)) {
      record.*(*narrow) = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
      return true;
    }
    return false;
  }

  static bool listed(const Member<T>& member, std::initializer_list<Member<T>> list) {
    for (const Member<T>& entry : list) {
      if (entry == member) return true;
    }
    return false;
  }

  std::wstring name_;
  std::vector<Column<T>> columns_;
};

}  // namespace qmxdao
