// ___ITEM: one sale item of a shop's catalogue, stored in table "ITEM" of the main file.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___ITEM {
  long long ID;
  std::wstring ITEM_NAME;
  std::wstring STANDART;
  std::wstring STORE_CODE;
  std::wstring UPC;
  std::wstring UNIT_ID;
  std::wstring PACKAGETYPE;
  std::wstring CREATUSER;
  std::wstring READONlY;
  std::wstring TYPEID;
  std::wstring ORG;
  float PUR_PRICE;
  float SALE_PRICE;
  float MEM_PRICE;
  float DISCOUNT_RATE;
  std::wstring MERCHANT_ID;
  std::wstring REMARK;
  int SUBMIT;
  std::wstring CREATE_TIME;
  std::wstring UPDATE_TIME;
  int ITEM_TYPE_ID;
  int DEL_FLAG;
  int ERRCOUNT;
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

  ___ITEM();
  ___ITEM(const ___ITEM& other);
  ___ITEM(___ITEM&& other) noexcept;
  // The batch save's merge: every field from other except ID, which keeps this record's, and
  // REMARK, which other replaces only when it brings one.
  ___ITEM& operator=(const ___ITEM& other);

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

// The columns of ___ITEM in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_ITEM_COLUMNS(X)    \
  X(EXT6, type_text)           \
  X(UPC, type_text)            \
  X(PUR_PRICE, type_float)     \
  X(REMARK, type_text)         \
  X(CREATUSER, type_text)      \
  X(ITEM_NAME, type_text)      \
  X(EXT9, type_text)           \
  X(MERCHANT_ID, type_text)    \
  X(DEL_FLAG, type_int)        \
  X(EXT4, type_text)           \
  X(UPDATE_TIME, type_text)    \
  X(EXT3, type_text)           \
  X(PACKAGETYPE, type_text)    \
  X(CREATE_TIME, type_text)    \
  X(STANDART, type_text)       \
  X(EXT8, type_text)           \
  X(ID, type_int64)            \
  X(TYPEID, type_text)         \
  X(READONlY, type_text)       \
  X(DISCOUNT_RATE, type_float) \
  X(SUBMIT, type_int)          \
  X(UNIT_ID, type_text)        \
  X(EXT2, type_text)           \
  X(MEM_PRICE, type_float)     \
  X(STORE_CODE, type_text)     \
  X(EXT7, type_text)           \
  X(ERRCOUNT, type_int)        \
  X(SALE_PRICE, type_float)    \
  X(EXT10, type_text)          \
  X(EXT5, type_text)           \
  X(ITEM_TYPE_ID, type_int)    \
  X(EXT1, type_text)           \
  X(ORG, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___ITEM, QMXDAO_ITEM, QMX_ITEM_COLUMNS)
#endif
