// ___SALE_ORDER: one line of a sale, stored in table "SALE_ORDER" of the sales file. The lines of
// one sale share its RAND_ID.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___SALE_ORDER {
  long long ID;
  int INTEGRAL_NUM;
  int POST_INTEGRAL;
  int UPC_ADD_TYPE;
  int RETURN_FLAG;
  int ORDER_TYPE;
  int ITEM_ID;
  int PACKAGE_TYPE;
  int QTY_ID;
  int SUBMIT;
  int ERRCOUNT;
  int RETURN_TYPE;
  int DEL_FLAG;
  float PAID_PRICE;
  float DISCOUNT_RATE;
  float RELIEF_PRICE;
  float PUR_PRICE;
  float DISCOUNT_PRICE;
  float SALE_PROFIT;
  float SALE_NUM;
  float SALE_PRICE;
  float DEBT_PRICE;
  float TOTAL_PRICE;
  float RETURN_SALE_NUM;
  std::wstring UPC;
  std::wstring RAND_ID;
  std::wstring ITEM_SEQ_ID;
  std::wstring SALE_USER;
  std::wstring ORG;
  std::wstring SALE_TYPE;
  std::wstring RETURN_RAND_ID;
  std::wstring CREATE_TIME;
  std::wstring POS;
  std::wstring UPDATE_TIME;
  std::wstring CUSTOMER;
  std::wstring UNIT_ID;
  std::wstring REMARK;
  std::wstring SALE_TIME;
  std::wstring CREATE_USER;
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

  ___SALE_ORDER();
  ___SALE_ORDER(const ___SALE_ORDER& other);
  ___SALE_ORDER(___SALE_ORDER&& other) noexcept;
  // Copies every field, ID included.
  ___SALE_ORDER& operator=(const ___SALE_ORDER& other);

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

// The columns of ___SALE_ORDER in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_SALE_ORDER_COLUMNS(X) \
  X(ORDER_TYPE, type_int)         \
  X(EXT7, type_text)              \
  X(INTEGRAL_NUM, type_int)       \
  X(EXT9, type_text)              \
  X(PAID_PRICE, type_float)       \
  X(UPC, type_text)               \
  X(RAND_ID, type_text)           \
  X(ITEM_SEQ_ID, type_text)       \
  X(SALE_USER, type_text)         \
  X(EXT5, type_text)              \
  X(ID, type_int64)               \
  X(EXT4, type_text)              \
  X(POST_INTEGRAL, type_int)      \
  X(UPC_ADD_TYPE, type_int)       \
  X(DISCOUNT_PRICE, type_float)   \
  X(EXT2, type_text)              \
  X(ORG, type_text)               \
  X(SALE_PROFIT, type_float)      \
  X(SALE_TYPE, type_text)         \
  X(RETURN_RAND_ID, type_text)    \
  X(EXT10, type_text)             \
  X(CREATE_TIME, type_text)       \
  X(DISCOUNT_RATE, type_float)    \
  X(RELIEF_PRICE, type_float)     \
  X(PUR_PRICE, type_float)        \
  X(POS, type_text)               \
  X(RETURN_FLAG, type_int)        \
  X(ITEM_ID, type_int)            \
  X(EXT8, type_text)              \
  X(PACKAGE_TYPE, type_int)       \
  X(SALE_NUM, type_float)         \
  X(EXT6, type_text)              \
  X(QTY_ID, type_int)             \
  X(SUBMIT, type_int)             \
  X(UPDATE_TIME, type_text)       \
  X(CUSTOMER, type_text)          \
  X(EXT1, type_text)              \
  X(UNIT_ID, type_text)           \
  X(ERRCOUNT, type_int)           \
  X(RETURN_TYPE, type_int)        \
  X(REMARK, type_text)            \
  X(EXT3, type_text)              \
  X(SALE_PRICE, type_float)       \
  X(DEBT_PRICE, type_float)       \
  X(DEL_FLAG, type_int)           \
  X(TOTAL_PRICE, type_float)      \
  X(SALE_TIME, type_text)         \
  X(RETURN_SALE_NUM, type_float)  \
  X(CREATE_USER, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___SALE_ORDER, QMXDAO_SALE_ORDER, QMX_SALE_ORDER_COLUMNS)
#endif
