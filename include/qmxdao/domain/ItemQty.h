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
