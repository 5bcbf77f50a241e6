#include "qmxdao/storage/CppSQLite3Statement.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <cwchar>
#include <utility>

#include "storage/engine_error.h"
#include "storage/text_codec.h"

CppSQLite3Statement::CppSQLite3Statement() = default;

CppSQLite3Statement::CppSQLite3Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}

CppSQLite3Statement::CppSQLite3Statement(CppSQLite3Statement&& other) noexcept {
  *this = std::move(other);
}

CppSQLite3Statement& CppSQLite3Statement::operator=(CppSQLite3Statement&& other) noexcept {
  if (this != &other) {
    finalize();
    db_ = std::exchange(other.db_, nullptr);
    stmt_ = std::exchange(other.stmt_, nullptr);
    texts_ = std::move(other.texts_);
    stepped_ = std::exchange(other.stepped_, false);
  }
  return *this;
}

CppSQLite3Statement::~CppSQLite3Statement() { finalize(); }

void CppSQLite3Statement::checkStatement() const {
  if (stmt_ == nullptr) qmxdao::throwLayerError(SQLITE_MISUSE, L"statement is not compiled");
}

void CppSQLite3Statement::checkBind(int rc) const {
  if (rc != SQLITE_OK) qmxdao::throwEngineError(db_, rc);
}

void CppSQLite3Statement::bind(int param, int value) {
  checkStatement();
  checkBind(sqlite3_bind_int(stmt_, param, value));
}

void CppSQLite3Statement::bind(int param, long long value) {
  checkStatement();
  checkBind(sqlite3_bind_int64(stmt_, param, value));
}

void CppSQLite3Statement::bind(int param, double value) {
  checkStatement();
  checkBind(sqlite3_bind_double(stmt_, param, value));
}

void CppSQLite3Statement::bind(int param, const wchar_t* value) {
  checkStatement();
  if (value == nullptr) {
    checkBind(sqlite3_bind_null(stmt_, param));
    return;
  }
  qmxdao::bindText(*this, param, value, std::wcslen(value));
}

namespace qmxdao {

void bindText(CppSQLite3Statement& statement, int param, const wchar_t* text, std::size_t length) {
  statement.checkStatement();
  // Sized once, to the parameter count plus one: growing it later would move the strings the
  // engine points into.
  std::vector<std::string>& texts = statement.texts_;
  if (texts.empty()) {
    texts.resize(static_cast<std::size_t>(sqlite3_bind_parameter_count(statement.stmt_)) + 1);
  }
  if (param < 1 || static_cast<std::size_t>(param) >= texts.size()) {
    throwLayerError(SQLITE_RANGE, L"column index out of range");
  }
  std::string& utf8 = texts[static_cast<std::size_t>(param)];
  toUtf8UpToNul(text, length, utf8);
  statement.checkBind(sqlite3_bind_text(statement.stmt_, param, utf8.data(),
                                        static_cast<int>(utf8.size()), SQLITE_STATIC));
}

}  // namespace qmxdao

void CppSQLite3Statement::bindNull(int param) {
  checkStatement();
  checkBind(sqlite3_bind_null(stmt_, param));
}

int CppSQLite3Statement::execDML() {
  checkStatement();
  stepped_ = true;
  int rc = sqlite3_step(stmt_);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
    reset();
    qmxdao::throwEngineError(db_, rc);
  }
  return sqlite3_changes(db_);
}

CppSQLite3Query CppSQLite3Statement::execQuery() {
  checkStatement();
  if (stepped_) sqlite3_reset(stmt_);  // a run left unfinished starts over
  stepped_ = true;
  int rc = sqlite3_step(stmt_);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
    reset();
    qmxdao::throwEngineError(db_, rc);
  }
  return CppSQLite3Query(db_, stmt_, rc == SQLITE_DONE, false);
}

void CppSQLite3Statement::reset() {
  checkStatement();
  sqlite3_reset(stmt_);
  stepped_ = false;
}

void CppSQLite3Statement::finalize() {
  if (stmt_ != nullptr) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  texts_.clear();
  stepped_ = false;
}
