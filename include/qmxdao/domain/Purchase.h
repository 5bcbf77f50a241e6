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
