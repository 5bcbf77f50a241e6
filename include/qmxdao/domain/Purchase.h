// ___PURCHASE_INFO: one line of a purchase of stock from a merchant, stored in table
// "PURCHASE_INFO" of the main file.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___PURCHASE_INFO {
  long long ID;
  std::wstring READONLY;
  std::wstring MERCHANT_NAME;
  std::wstring PACHAGETYPE;
  std::wstring UPC;
  std::wstring RAND_ID;
  std::wstring POS;
  std::wstring PURCHASE_TIME;
  std::wstring CREATE_TIME;
  std::wstring UPDATE_TIME;
  std::wstring REMARK;
  std::wstring CREATE_USER;
  int ITEM_ID;
  std::wstring MERCHANT_ID;
  float PURCHASE_NUM;
  float PUR_PRICE;
  float PAID_PRICE;
  float DEBT_PRICE;
  float TOTAL_PRICE;
  int SUBMIT;
  int DEL_FLAG;
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

  ___PURCHASE_INFO();
  ___PURCHASE_INFO(const ___PURCHASE_INFO& other);
  ___PURCHASE_INFO(___PURCHASE_INFO&& other) noexcept;
  // Copies every field, ID included.
  ___PURCHASE_INFO& operator=(const ___PURCHASE_INFO& other);

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

// The columns of ___PURCHASE_INFO in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_PURCHASE_INFO_COLUMNS(X) \
  X(PURCHASE_TIME, type_text)        \
  X(REMARK, type_text)               \
  X(PUR_PRICE, type_float)           \
  X(EXT1, type_text)                 \
  X(READONLY, type_text)             \
  X(EXT10, type_text)                \
  X(EXT4, type_text)                 \
  X(EXT9, type_text)                 \
  X(ID, type_int64)                  \
  X(PACHAGETYPE, type_text)          \
  X(EXT3, type_text)                 \
  X(EXT2, type_text)                 \
  X(CREATE_TIME, type_text)          \
  X(ITEM_ID, type_int)               \
  X(DEL_FLAG, type_int)              \
  X(EXT7, type_text)                 \
  X(POS, type_text)                  \
  X(EXT6, type_text)                 \
  X(MERCHANT_NAME, type_text)        \
  X(SUBMIT, type_int)                \
  X(UPDATE_TIME, type_text)          \
  X(TOTAL_PRICE, type_float)         \
  X(EXT8, type_text)                 \
  X(RAND_ID, type_text)              \
  X(EXT5, type_text)                 \
  X(MERCHANT_ID, type_text)          \
  X(CREATE_USER, type_text)          \
  X(PURCHASE_NUM, type_float)        \
  X(DEBT_PRICE, type_float)          \
  X(PAID_PRICE, type_float)          \
  X(UPC, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___PURCHASE_INFO, QMXDAO_PURCHASE, QMX_PURCHASE_INFO_COLUMNS)
#endif
