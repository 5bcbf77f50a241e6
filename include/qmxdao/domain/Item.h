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
