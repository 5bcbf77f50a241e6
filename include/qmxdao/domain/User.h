// ___USER: one person working at a station (shop staff or courier), stored in table "USER" of the
// main file.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___USER {
  std::wstring SIGNNO;
  std::wstring EXT3;
  std::wstring MOBILE;
  std::wstring MENU;
  std::wstring EXT5;
  int STATIONTYPE;
  std::wstring STATUS;
  std::wstring USERNAME;
  std::wstring TOWNNAME;
  std::wstring EXT1;
  int DEL_FLAG;
  std::wstring QQNUMBER;
  std::wstring EXT9;
  std::wstring USRNAME;
  std::wstring TOWNID;
  std::wstring TELNUMBER;
  std::wstring PROVINCEID;
  std::wstring CREAT_TIME_EX;
  std::wstring EXT2;
  long long ID;
  std::wstring COURIERCODE;
  std::wstring EMAIL;
  std::wstring CITYID;
  std::wstring CERTNO;
  std::wstring POSTMANCODE;
  std::wstring PROVINCENAME;
  std::wstring STATIONNAME;
  std::wstring POSTALCODE;
  std::wstring EXT4;
  std::wstring WEBSITECODE;
  std::wstring CITYNAME;
  std::wstring USERONLYID;
  std::wstring STATIONADDR;
  std::wstring EXT10;
  int STATION_TYPE;
  std::wstring STROEID;
  std::wstring VERIFY_TIME;
  std::wstring CREATE_TIME;
  std::wstring AREAID;
  std::wstring EXT6;
  std::wstring MENUIDS;
  std::wstring USRACCOUNT;
  std::wstring TELEXT;
  std::wstring IMAGURL;
  std::wstring UPDATE_TIME;
  std::wstring ISSHOPASSISTANT;
  std::wstring PASSWORD;
  std::wstring EXT8;
  std::wstring EXT7;
  std::wstring COURIRENAME;
  std::wstring FULLNAME;
  std::wstring ORG;
  std::wstring AREANAME;
  std::wstring REMARK;

  ___USER();
  ___USER(const ___USER& other);
  ___USER(___USER&& other) noexcept;
  // The batch save's merge: every field from other except ID, which keeps this record's, so a
  // found user is written back to its stored row.
  ___USER& operator=(const ___USER& other);

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

// The columns of ___USER in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_USER_COLUMNS(X)     \
  X(SIGNNO, type_text)          \
  X(EXT3, type_text)            \
  X(MOBILE, type_text)          \
  X(MENU, type_text)            \
  X(EXT5, type_text)            \
  X(STATIONTYPE, type_int)      \
  X(STATUS, type_text)          \
  X(USERNAME, type_text)        \
  X(TOWNNAME, type_text)        \
  X(EXT1, type_text)            \
  X(DEL_FLAG, type_int)         \
  X(QQNUMBER, type_text)        \
  X(EXT9, type_text)            \
  X(USRNAME, type_text)         \
  X(TOWNID, type_text)          \
  X(TELNUMBER, type_text)       \
  X(PROVINCEID, type_text)      \
  X(CREAT_TIME_EX, type_text)   \
  X(EXT2, type_text)            \
  X(ID, type_int64)             \
  X(COURIERCODE, type_text)     \
  X(EMAIL, type_text)           \
  X(CITYID, type_text)          \
  X(CERTNO, type_text)          \
  X(POSTMANCODE, type_text)     \
  X(PROVINCENAME, type_text)    \
  X(STATIONNAME, type_text)     \
  X(POSTALCODE, type_text)      \
  X(EXT4, type_text)            \
  X(WEBSITECODE, type_text)     \
  X(CITYNAME, type_text)        \
  X(USERONLYID, type_text)      \
  X(STATIONADDR, type_text)     \
  X(EXT10, type_text)           \
  X(STATION_TYPE, type_int)     \
  X(STROEID, type_text)         \
  X(VERIFY_TIME, type_text)     \
  X(CREATE_TIME, type_text)     \
  X(AREAID, type_text)          \
  X(EXT6, type_text)            \
  X(MENUIDS, type_text)         \
  X(USRACCOUNT, type_text)      \
  X(TELEXT, type_text)          \
  X(IMAGURL, type_text)         \
  X(UPDATE_TIME, type_text)     \
  X(ISSHOPASSISTANT, type_text) \
  X(PASSWORD, type_text)        \
  X(EXT8, type_text)            \
  X(EXT7, type_text)            \
  X(COURIRENAME, type_text)     \
  X(FULLNAME, type_text)        \
  X(ORG, type_text)             \
  X(AREANAME, type_text)        \
  X(REMARK, type_text)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___USER, QMXDAO_USER, QMX_USER_COLUMNS)
#endif
