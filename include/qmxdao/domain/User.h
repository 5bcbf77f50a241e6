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
