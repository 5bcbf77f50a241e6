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
