// The engine objects behind the boundary's opaque handles. Every live handle is registered with
// its type, so a null, released or mistyped handle is refused instead of being used. A handle
// owns the handles made from it: releasing a connection first releases its statements and
// queries, and a statement its queries, so that no engine object outlives the one it came from.
#pragma once

#include <memory>
#include <vector>

#include "qmxdao/c_api.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/DBConnection.h"

namespace qmxdao::capi {

enum class HandleType { kDb, kStatement, kQuery };

class Handle {
 public:
  explicit Handle(HandleType type, Handle* parent) : type_(type), parent_(parent) {}
  virtual ~Handle() = default;
  HandleType type() const { return type_; }

  // Kept by the registry (handles.cc) under its lock.
  const HandleType type_;
  Handle* const parent_;
  std::vector<Handle*> children_;
};

// Makes a new handle known (and a child of its parent); releases a handle and its children.
void registerHandle(Handle* handle);
void releaseHandle(Handle* handle);
// The live handle of the type at pointer, or Refused.
Handle* liveHandle(const void* pointer, HandleType type);

}  // namespace qmxdao::capi

struct qmxdao_db : qmxdao::capi::Handle {
  qmxdao_db() : Handle(qmxdao::capi::HandleType::kDb, nullptr) {}
  CppSQLite3DB& db() { return connection ? connection->getDBConnectionInstance() : own; }
  CppSQLite3DB own;
  std::unique_ptr<QMXDAO::DBConnection> connection;  // set for qmxdao_db_connection's handles
};

struct qmxdao_statement : qmxdao::capi::Handle {
  qmxdao_statement(qmxdao_db* parent, CppSQLite3Statement made)
      : Handle(qmxdao::capi::HandleType::kStatement, parent), statement(std::move(made)) {}
  CppSQLite3Statement statement;
};

struct qmxdao_query : qmxdao::capi::Handle {
  qmxdao_query(Handle* parent, CppSQLite3Query made)
      : Handle(qmxdao::capi::HandleType::kQuery, parent), query(std::move(made)) {}
  CppSQLite3Query query;
};

namespace qmxdao::capi {

inline qmxdao_db& dbOf(qmxdao_db* pointer) {
  return *static_cast<qmxdao_db*>(liveHandle(pointer, HandleType::kDb));
}
inline qmxdao_statement& statementOf(qmxdao_statement* pointer) {
  return *static_cast<qmxdao_statement*>(liveHandle(pointer, HandleType::kStatement));
}
inline qmxdao_query& queryOf(qmxdao_query* pointer) {
  return *static_cast<qmxdao_query*>(liveHandle(pointer, HandleType::kQuery));
}

// Registers a new handle and gives it to the host.
template <typename T>
void handOut(std::unique_ptr<T> handle, T** out) {
  registerHandle(handle.get());
  *out = handle.release();
}

}  // namespace qmxdao::capi
