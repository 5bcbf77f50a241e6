// ___CUSTOMER: one member customer of a shop, stored in table "CUSTOMER" of the main file.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___CUSTOMER {
  long long ID;
  float INTEGRAL;
  std::wstring CREATE_USER;
  std::wstring CREATE_TIME;
  std::wstring UPDATE_TIME;
  float JAWBONEMONEY;
  std::wstring TEL;
  std::wstring CARDNUM;
  std::wstring CUSTOMER_NAME;
  std::wstring SIMPLE_NAME;
  std::wstring ADDR;
  std::wstring MOBILE;
  int SUBMIT;
  int DEL_FLAG;
  std::wstring ORG;
  std::wstring IDCARD;
  std::wstring EXT10;
  std::wstring EXT9;
  std::wstring EXT8;
  std::wstring EXT7;
  std::wstring EXT6;
  std::wstring EXT5;
  std::wstring EXT4;
  std::wstring EXT3;
  std::wstring EXT2;
  std::wstring EXT1;

  ___CUSTOMER();
  ___CUSTOMER(const ___CUSTOMER& other);
  ___CUSTOMER(___CUSTOMER&& other) noexcept;
  // The batch save's merge: every field from other except SUBMIT, which keeps this record's.
  ___CUSTOMER& operator=(const ___CUSTOMER& other);

  std::wstring getTableName() const;
  void getColumnValues(ColumnValueMap& values) const;
  void buildInsertSql(const ColumnValueMap& values, std::wstring& sql) const;
  void buildUpdateSql(const ColumnValueMap& values, std::wstring& sql) const;
  void setTextField(const std::wstring& column, const std::wstring& value);
  void setIntField(const std::wstring& column, int value);
  void setFloatField(const std::wstring& column, double value);
  void readField(CppSQLite3Query& query, int field, data_type code);
};

}  // namespace QMXDataDomain

// The columns of ___CUSTOMER in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_CUSTOMER_COLUMNS(X) \
  X(UPDATE_TIME, type_text)     \
  X(INTEGRAL, type_float)       \
  X(CREATE_USER, type_text)     \
  X(CREATE_TIME, type_text)     \
  X(JAWBONEMONEY, type_float)   \
  X(TEL, type_text)             \
  X(CARDNUM, type_text)         \
  X(CUSTOMER_NAME, type_text)   \
  X(EXT7, type_text)            \
  X(EXT6, type_text)            \
  X(EXT5, type_text)            \
  X(EXT4, type_text)            \
  X(EXT3, type_text)            \
  X(EXT2, type_text)            \
  X(EXT1, type_text)            \
  X(IDCARD, type_text)          \
  X(EXT9, type_text)            \
  X(EXT8, type_text)            \
  X(ID, type_int64)             \
  X(SIMPLE_NAME, type_text)     \
  X(ADDR, type_text)            \
  X(MOBILE, type_text)          \
  X(SUBMIT, type_int)           \
  X(EXT10, type_text)           \
  X(DEL_FLAG, type_int)         \
  X(ORG, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___CUSTOMER, QMXDAO_CUSTOMER, QMX_CUSTOMER_COLUMNS)
#endif
