#include "qmxdao/domain/User.h"

#include "domain/record_operations.h"
#include "domain/user_table.h"

namespace qmxdao {

using QMXDataDomain::___USER;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___USER>& userTable() {
  static const RecordTable<___USER> table(
      L"USER", {
                   {L"SIGNNO", &___USER::SIGNNO, type_text},
                   {L"EXT3", &___USER::EXT3, type_text},
                   {L"MOBILE", &___USER::MOBILE, type_text},
                   {L"MENU", &___USER::MENU, type_text},
                   {L"EXT5", &___USER::EXT5, type_text},
                   {L"STATIONTYPE", &___USER::STATIONTYPE, type_int},
                   {L"STATUS", &___USER::STATUS, type_text},
                   {L"USERNAME", &___USER::USERNAME, type_text},
                   {L"TOWNNAME", &___USER::TOWNNAME, type_text},
                   {L"EXT1", &___USER::EXT1, type_text},
                   {L"DEL_FLAG", &___USER::DEL_FLAG, type_int},
                   {L"QQNUMBER", &___USER::QQNUMBER, type_text},
                   {L"EXT9", &___USER::EXT9, type_text},
                   {L"USRNAME", &___USER::USRNAME, type_text},
                   {L"TOWNID", &___USER::TOWNID, type_text},
                   {L"TELNUMBER", &___USER::TELNUMBER, type_text},
                   {L"PROVINCEID", &___USER::PROVINCEID, type_text},
                   {L"CREAT_TIME_EX", &___USER::CREAT_TIME_EX, type_text},
                   {L"EXT2", &___USER::EXT2, type_text},
                   {L"ID", &___USER::ID, type_int64},
                   {L"COURIERCODE", &___USER::COURIERCODE, type_text},
                   {L"EMAIL", &___USER::EMAIL, type_text},
                   {L"CITYID", &___USER::CITYID, type_text},
                   {L"CERTNO", &___USER::CERTNO, type_text},
                   {L"POSTMANCODE", &___USER::POSTMANCODE, type_text},
                   {L"PROVINCENAME", &___USER::PROVINCENAME, type_text},
                   {L"STATIONNAME", &___USER::STATIONNAME, type_text},
                   {L"POSTALCODE", &___USER::POSTALCODE, type_text},
                   {L"EXT4", &___USER::EXT4, type_text},
                   {L"WEBSITECODE", &___USER::WEBSITECODE, type_text},
                   {L"CITYNAME", &___USER::CITYNAME, type_text},
                   {L"USERONLYID", &___USER::USERONLYID, type_text},
                   {L"STATIONADDR", &___USER::STATIONADDR, type_text},
                   {L"EXT10", &___USER::EXT10, type_text},
                   {L"STATION_TYPE", &___USER::STATION_TYPE, type_int},
                   {L"STROEID", &___USER::STROEID, type_text},
                   {L"VERIFY_TIME", &___USER::VERIFY_TIME, type_text},
                   {L"CREATE_TIME", &___USER::CREATE_TIME, type_text},
                   {L"AREAID", &___USER::AREAID, type_text},
                   {L"EXT6", &___USER::EXT6, type_text},
                   {L"MENUIDS", &___USER::MENUIDS, type_text},
                   {L"USRACCOUNT", &___USER::USRACCOUNT, type_text},
                   {L"TELEXT", &___USER::TELEXT, type_text},
                   {L"IMAGURL", &___USER::IMAGURL, type_text},
                   {L"UPDATE_TIME", &___USER::UPDATE_TIME, type_text},
                   {L"ISSHOPASSISTANT", &___USER::ISSHOPASSISTANT, type_text},
                   {L"PASSWORD", &___USER::PASSWORD, type_text},
                   {L"EXT8", &___USER::EXT8, type_text},
                   {L"EXT7", &___USER::EXT7, type_text},
                   {L"COURIRENAME", &___USER::COURIRENAME, type_text},
                   {L"FULLNAME", &___USER::FULLNAME, type_text},
                   {L"ORG", &___USER::ORG, type_text},
                   {L"AREANAME", &___USER::AREANAME, type_text},
                   {L"REMARK", &___USER::REMARK, type_text},
               });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___USER::___USER() : STATIONTYPE(0), DEL_FLAG(0), ID(0), STATION_TYPE(0) {}

___USER& ___USER::operator=(const ___USER& other) {
  qmxdao::userTable().copyFields(*this, other, {&___USER::ID});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___USER, qmxdao::userTable())

}  // namespace QMXDataDomain
