// ___ITEM_QTY: the stock figures of one item in one storage, stored in table "ITEM_QTY" of the
// main file. EXT1 and EXT2 identify the record for the batch save.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___ITEM_QTY {
  int SUBMIT;
  int STORAGE_ID;
  std::wstring EXT8;
  float PUR_RETURN;
  std::wstring PUR_RAND_ID;
  std::wstring EXT2;
  float QTY;
  long long ID;
  float SALE_RETURN;
  std::wstring EXT7;
  std::wstring EXT1;
  std::wstring EXT3;
  std::wstring UPDATE_TIME;
  std::wstring EXT6;
  std::wstring EXT4;
  std::wstring CREATE_TIME;
  float SALE_DAY_AVE;
  std::wstring EXT9;
  std::wstring EXT5;
  std::wstring EXT10;
  int ITEM_ID;
  float PUR_NUM;
  int DEL_FLAG;
  float SALE_NUM;

  ___ITEM_QTY();
  ___ITEM_QTY(const ___ITEM_QTY& other);
  ___ITEM_QTY(___ITEM_QTY&& other) noexcept;
  // The batch save's merge: every field from other except ID, which keeps this record's.
  ___ITEM_QTY& operator=(const ___ITEM_QTY& other);

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

// The columns of ___ITEM_QTY in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_ITEM_QTY_COLUMNS(X) \
  X(SUBMIT, type_int)           \
  X(STORAGE_ID, type_int)       \
  X(EXT8, type_text)            \
  X(PUR_RETURN, type_float)     \
  X(PUR_RAND_ID, type_text)     \
  X(EXT2, type_text)            \
  X(QTY, type_float)            \
  X(ID, type_int64)             \
  X(SALE_RETURN, type_float)    \
  X(EXT7, type_text)            \
  X(EXT1, type_text)            \
  X(EXT3, type_text)            \
  X(UPDATE_TIME, type_text)     \
  X(EXT6, type_text)            \
  X(EXT4, type_text)            \
  X(CREATE_TIME, type_text)     \
  X(SALE_DAY_AVE, type_float)   \
  X(EXT9, type_text)            \
  X(EXT5, type_text)            \
  X(EXT10, type_text)           \
  X(ITEM_ID, type_int)          \
  X(PUR_NUM, type_float)        \
  X(DEL_FLAG, type_int)         \
  X(SALE_NUM, type_float)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___ITEM_QTY, QMXDAO_ITEM_QTY, QMX_ITEM_QTY_COLUMNS)
#endif
