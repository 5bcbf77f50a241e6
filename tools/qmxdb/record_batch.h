// RecordBatch: records of one table built from text fields and saved through that record's own
// batch save. Everything goes through the library's public API: a default record's
// getColumnValues says which columns the record has and with which data_type code, and the
// record's setters (setTextField, setIntField, setFloatField, setInt64Field) take the values.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "tools/qmxdb/text_numbers.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

// A field text that its column does not take, with the reason.
class FieldError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RecordColumn {
  std::string name;
  QMXDataDomain::data_type code;
  bool holds64Bits;  // an integer column whose field holds 64 bits (only "ID" in practice)
};

class RecordBatch {
 public:
  virtual ~RecordBatch() = default;

  // The record's columns, in name order.
  virtual const std::vector<RecordColumn>& columns() const = 0;
  // Builds one record from texts: texts[i] goes to columns()[columnOf[i]], every other field
  // keeps its default. Throws FieldError, and keeps nothing, when a text does not fit.
  virtual void add(const std::vector<std::size_t>& columnOf,
                   const std::vector<std::string>& texts) = 0;
  virtual std::size_t size() const = 0;
  // Saves the records built so far with the record's batch save (one transaction) and forgets
  // them. Engine failures leave as CppSQLite3Exception, with none of the batch stored.
  virtual void save() = 0;
};

namespace detail {

template <typename Record, typename = void>
struct HasInt64Setter : std::false_type {};
template <typename Record>
struct HasInt64Setter<
    Record, std::void_t<decltype(std::declval<Record&>().setInt64Field(std::wstring(), 0LL))>>
    : std::true_type {};

// Every record keeps its identifier in the 64-bit member ID; the only other 64-bit coded
// columns belong to a record that has a setter for them.
template <typename Record>
bool setInt64(Record& record, const std::wstring& column, long long value) {
  if (column == L"ID") {
    record.ID = value;
    return true;
  }
  if constexpr (HasInt64Setter<Record>::value) {
    record.setInt64Field(column, value);
    return true;
  }
  return false;
}

}  // namespace detail

template <typename Record, typename Dao>
class RecordBatchOf final : public RecordBatch {
 public:
  RecordBatchOf() {
    const Record blank;
    QMXDataDomain::ColumnValueMap values;
    blank.getColumnValues(values);
    for (const auto& value : values) {
      wideNames_.push_back(value.first);
    }
    std::sort(wideNames_.begin(), wideNames_.end());
    for (const std::wstring& name : wideNames_) {
      const QMXDataDomain::data_type code = values.at(name).second;
      columns_.push_back({toUtf8(name), code, code == QMXDataDomain::type_int64 && holds64(name)});
    }
  }

  const std::vector<RecordColumn>& columns() const override { return columns_; }

  void add(const std::vector<std::size_t>& columnOf,
           const std::vector<std::string>& texts) override {
    Record record;
    for (std::size_t i = 0; i < texts.size(); ++i) set(record, columnOf[i], texts[i]);
    records_.push_back(std::move(record));
  }

  std::size_t size() const override { return records_.size(); }

  void save() override {
    if (records_.empty()) return;
    Dao dao;
    dao.save(std::move(records_));
    records_.clear();
  }

 private:
  // Whether a 64-bit coded column keeps a value beyond 32 bits: one record's column is 64 bits
  // wide in the table but held in a 32-bit field, and would keep only the low 32 bits.
  static bool holds64(const std::wstring& name) {
    const long long probe = 1LL << 40;
    Record record;
    if (!detail::setInt64(record, name, probe)) return false;
    QMXDataDomain::ColumnValueMap values;
    record.getColumnValues(values);
    return values.at(name).first == std::to_wstring(probe);
  }

  void set(Record& record, std::size_t index, const std::string& text) const {
    const RecordColumn& column = columns_[index];
    const std::wstring& name = wideNames_[index];
    switch (column.code) {
      case QMXDataDomain::type_text:
        record.setTextField(name, fromUtf8(text));
        break;
      case QMXDataDomain::type_int:
        record.setIntField(name, static_cast<int>(parseInteger(column, text, false)));
        break;
      case QMXDataDomain::type_int64:
        if (!detail::setInt64(record, name, parseInteger(column, text, column.holds64Bits))) {
          throw FieldError("column " + column.name + " cannot be loaded");
        }
        break;
      case QMXDataDomain::type_float:
        record.setFloatField(name, parseFloat(column, text));
        break;
      default:
        throw FieldError("column " + column.name + " cannot be loaded");
    }
  }

  // An empty field is the column's default, 0, as an exported NULL is written empty.
  static long long parseInteger(const RecordColumn& column, const std::string& text, bool wide) {
    if (text.empty()) return 0;
    long long value = 0;
    if (!parseWholeInteger(text, value)) {
      throw FieldError("column " + column.name + ": \"" + text + "\" is not a whole number");
    }
    if (!wide &&
        (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())) {
      throw FieldError("column " + column.name + ": " + text + " does not fit in 32 bits");
    }
    return value;
  }

  static double parseFloat(const RecordColumn& column, const std::string& text) {
    if (text.empty()) return 0.0;
    double value = 0.0;
    if (!parseWholeDouble(text, value) || !std::isfinite(value)) {
      throw FieldError("column " + column.name + ": \"" + text + "\" is not a number");
    }
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
      throw FieldError("column " + column.name + ": " + text + " is too large for a float");
    }
    return value;
  }

  std::vector<std::wstring> wideNames_;
  std::vector<RecordColumn> columns_;
  std::vector<Record> records_;
};

}  // namespace qmxdb
