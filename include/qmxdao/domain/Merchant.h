// ___MERCHANT_INFO: one merchant (supplier) of the shop, stored in table "MERCHANT_INFO" of the
// main file and known to the batch save by its GUID.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___MERCHANT_INFO {
  long long ID;
  std::wstring CONTACTS;
  std::wstring QQ;
  std::wstring TEL;
  std::wstring MOBILE;
  std::wstring ADDR;
  std::wstring GUID;
  std::wstring NAME;
  std::wstring ORG;
  std::wstring CREATE_TIME;
  std::wstring UPDATE_TIME;
  int DEL_FLAG;
  int SUBMIT;
  std::wstring EXT1;
  std::wstring EXT2;
  std::wstring EXT3;
  std::wstring EXT4;
  std::wstring EXT5;
  std::wstring EXT6;
  std::wstring EXT7;
  std::wstring EXT8;
  std::wstring EXT9;
  std::wstring EXT10;

  ___MERCHANT_INFO();
  ___MERCHANT_INFO(const ___MERCHANT_INFO& other);
  ___MERCHANT_INFO(___MERCHANT_INFO&& other) noexcept;
  // The batch save's merge: every field from other except ID, which keeps this record's.
  ___MERCHANT_INFO& operator=(const ___MERCHANT_INFO& other);

  std::wstring getTableName() const;
  void getColumnValues(ColumnValueMap& values) const;
  void buildInsertSql(const ColumnValueMap& values, std::wstring& sql) const;
  void buildUpdateSql(const ColumnValueMap& values, std::wstring& sql) const;
  void setTextField(const std::wstring& column, const std::wstring& value);
  void setIntField(const std::wstring& column, int value);
  // The record has no float column: this changes nothing, and is kept for a uniform interface.
  void setFloatField(const std::wstring& column, double value);
  void readField(CppSQLite3Query& query, int field, data_type code);
};

}  // namespace QMXDataDomain

// The columns of ___MERCHANT_INFO in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_MERCHANT_INFO_COLUMNS(X) \
  X(ID, type_int64)                  \
  X(EXT2, type_text)                 \
  X(EXT9, type_text)                 \
  X(DEL_FLAG, type_int)              \
  X(QQ, type_text)                   \
  X(ADDR, type_text)                 \
  X(EXT5, type_text)                 \
  X(EXT7, type_text)                 \
  X(UPDATE_TIME, type_text)          \
  X(EXT8, type_text)                 \
  X(SUBMIT, type_int)                \
  X(EXT3, type_text)                 \
  X(TEL, type_text)                  \
  X(EXT1, type_text)                 \
  X(EXT4, type_text)                 \
  X(NAME, type_text)                 \
  X(EXT10, type_text)                \
  X(ORG, type_text)                  \
  X(CREATE_TIME, type_text)          \
  X(GUID, type_text)                 \
  X(CONTACTS, type_text)             \
  X(MOBILE, type_text)               \
  X(EXT6, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___MERCHANT_INFO, QMXDAO_MERCHANT, QMX_MERCHANT_INFO_COLUMNS)
#endif
