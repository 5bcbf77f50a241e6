// ___ITEM_TYPE: one category of sale items, stored in table "ITEM_TYPE" of the main file.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___ITEM_TYPE {
  long long ID;
  std::wstring ORG;
  std::wstring TYPE_NAME;
  std::wstring SEQ_ID;
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

  ___ITEM_TYPE();
  ___ITEM_TYPE(const ___ITEM_TYPE& other);
  ___ITEM_TYPE(___ITEM_TYPE&& other) noexcept;
  // Copies every field, ID included.
  ___ITEM_TYPE& operator=(const ___ITEM_TYPE& other);

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

// The columns of ___ITEM_TYPE in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_ITEM_TYPE_COLUMNS(X) \
  X(UPDATE_TIME, type_text)      \
  X(EXT3, type_text)             \
  X(SEQ_ID, type_text)           \
  X(ORG, type_text)              \
  X(EXT6, type_text)             \
  X(EXT1, type_text)             \
  X(EXT2, type_text)             \
  X(DEL_FLAG, type_int)          \
  X(EXT5, type_text)             \
  X(EXT7, type_text)             \
  X(CREATE_TIME, type_text)      \
  X(EXT8, type_text)             \
  X(SUBMIT, type_int)            \
  X(ID, type_int64)              \
  X(EXT4, type_text)             \
  X(EXT10, type_text)            \
  X(EXT9, type_text)             \
  X(TYPE_NAME, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___ITEM_TYPE, QMXDAO_ITEM_TYPE, QMX_ITEM_TYPE_COLUMNS)
#endif
