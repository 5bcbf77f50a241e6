#include "qmxdao/storage/CppSQLite3Query.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <utility>

#include "storage/engine_error.h"
#include "storage/text_codec.h"

CppSQLite3Query::CppSQLite3Query() = default;

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool eof, bool ownsStatement)
    : db_(db), stmt_(stmt), eof_(eof), ownsStatement_(ownsStatement) {
  fieldCount_ = sqlite3_column_count(stmt_);
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept { *this = std::move(other); }

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept {
  if (this != &other) {
    finalize();
    db_ = std::exchange(other.db_, nullptr);
    stmt_ = std::exchange(other.stmt_, nullptr);
    eof_ = std::exchange(other.eof_, true);
    ownsStatement_ = std::exchange(other.ownsStatement_, false);
    fieldCount_ = std::exchange(other.fieldCount_, 0);
    names_ = std::move(other.names_);
    nameRead_ = std::move(other.nameRead_);
    values_ = std::move(other.values_);
    valueRead_ = std::move(other.valueRead_);
  }
  return *this;
}

CppSQLite3Query::~CppSQLite3Query() { finalize(); }

bool CppSQLite3Query::eof() const { return eof_; }

void CppSQLite3Query::nextRow() {
  if (stmt_ == nullptr) qmxdao::throwLayerError(SQLITE_MISUSE, L"query has no statement");
  if (eof_) return;
  int rc = sqlite3_step(stmt_);
  valueRead_.assign(valueRead_.size(), false);
  if (rc == SQLITE_ROW) return;
  eof_ = true;
  if (rc != SQLITE_DONE) qmxdao::throwEngineError(db_, rc);
}

int CppSQLite3Query::numFields() const { return fieldCount_; }

void CppSQLite3Query::checkField(int field) const {
  if (stmt_ == nullptr) qmxdao::throwLayerError(SQLITE_MISUSE, L"query has no statement");
  if (field < 0 || field >= numFields()) {
    qmxdao::throwLayerError(SQLITE_RANGE, L"field index out of range");
  }
}

void CppSQLite3Query::checkRow() const {
  if (eof_) qmxdao::throwLayerError(SQLITE_MISUSE, L"query has no current row");
}

const wchar_t* CppSQLite3Query::fieldName(int field) const {
  checkField(field);
  std::size_t index = static_cast<std::size_t>(field);
  if (names_.empty()) {
    names_.resize(static_cast<std::size_t>(fieldCount_));
    nameRead_.assign(names_.size(), false);
  }
  if (!nameRead_[index]) {
    const char* name = sqlite3_column_name(stmt_, field);
    names_[index] = qmxdao::fromUtf8(name != nullptr ? name : "");
    nameRead_[index] = true;
  }
  return names_[index].c_str();
}

bool CppSQLite3Query::fieldIsNull(int field) const {
  checkField(field);
  checkRow();
  return sqlite3_column_type(stmt_, field) == SQLITE_NULL;
}

const wchar_t* CppSQLite3Query::fieldValue(int field) {
  if (fieldIsNull(field)) return nullptr;
  std::size_t index = static_cast<std::size_t>(field);
  if (values_.empty()) {
    values_.resize(static_cast<std::size_t>(fieldCount_));
    valueRead_.assign(values_.size(), false);
  }
  if (!valueRead_[index]) {
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, field));
    int bytes = sqlite3_column_bytes(stmt_, field);
    values_[index] = qmxdao::fromUtf8(text, text != nullptr ? static_cast<std::size_t>(bytes) : 0);
    valueRead_[index] = true;
  }
  return values_[index].c_str();
}

const wchar_t* CppSQLite3Query::getStringField(int field, const wchar_t* nullValue) {
  const wchar_t* value = fieldValue(field);
  return value != nullptr ? value : nullValue;
}

int CppSQLite3Query::getIntField(int field, int nullValue) const {
  return fieldIsNull(field) ? nullValue : sqlite3_column_int(stmt_, field);
}

long long CppSQLite3Query::getInt64Field(int field, long long nullValue) const {
  return fieldIsNull(field) ? nullValue : sqlite3_column_int64(stmt_, field);
}

double CppSQLite3Query::getFloatField(int field, double nullValue) const {
  return fieldIsNull(field) ? nullValue : sqlite3_column_double(stmt_, field);
}

void CppSQLite3Query::finalize() {
  if (stmt_ != nullptr && ownsStatement_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  eof_ = true;
}
