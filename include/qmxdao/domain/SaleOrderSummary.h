// ___SALE_ORDER_SUMMARY: the head of one sale, stored in table "SALE_ORDER_SUMMARY" of the sales
// file beside its lines. POST_INTEGRAL and RETURN_INTEGRAL are 64-bit columns held in 32-bit
// fields: they are bound as 64-bit integers and read back as their low 32 bits.
#pragma once

#include <string>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Query;

namespace QMXDataDomain {

struct QMX_EXPORT ___SALE_ORDER_SUMMARY {
  long long ID;
  std::wstring ORG;
  std::wstring RAND_ID;
  std::wstring CREATE_TIME;
  std::wstring CUSTOMER_ID;
  std::wstring UPDATE_TIME;
  std::wstring CREATE_USER;
  std::wstring FALSE_TRADE;
  std::wstring REMARK;
  std::wstring ORIGINAL_RAND_ID;
  std::wstring ORDER_TYPE;
  std::wstring UPDATE_USER;
  std::wstring SALE_TIME;
  std::wstring REMOTE_ADDRESS;
  int STATUS;
  int INTEGRAL;
  int ORDER_SUMMARY_TYPE;
  int DEL_FLAG;
  int ERRCOUNT;
  int SUBMIT;
  int POST_INTEGRAL;
  int SALE_SORT_NUM;
  float SALE_SUM_NUM;
  float TOTAL_PRICE;
  float RELIEF_PRICE;
  float PAID_PRICE;
  float DEBT_PRICE;
  float RETURN_TOTAL_PRICE;
  float RETURN_DEBT_PRICE;
  float RETURN_RELIEF_PRICE;
  int RETURN_INTEGRAL;
  int RETURN_POST_INTEGRAL;
  int SALE_TYPE;
  int SUBMIT_DETAIL;
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

  ___SALE_ORDER_SUMMARY();
  ___SALE_ORDER_SUMMARY(const ___SALE_ORDER_SUMMARY& other);
  ___SALE_ORDER_SUMMARY(___SALE_ORDER_SUMMARY&& other) noexcept;
  // Copies every field, ID included.
  ___SALE_ORDER_SUMMARY& operator=(const ___SALE_ORDER_SUMMARY& other);

  std::wstring getTableName() const;
  void getColumnValues(ColumnValueMap& values) const;
  void buildInsertSql(const ColumnValueMap& values, std::wstring& sql) const;
  void buildUpdateSql(const ColumnValueMap& values, std::wstring& sql) const;
  void setTextField(const std::wstring& column, const std::wstring& value);
  void setIntField(const std::wstring& column, int value);
  void setFloatField(const std::wstring& column, double value);
  // Takes the columns coded type_int64 (ID, POST_INTEGRAL, RETURN_INTEGRAL); a 32-bit field keeps
  // the low 32 bits of the value.
  void setInt64Field(const std::wstring& column, long long value);
  void readField(CppSQLite3Query& query, int field, data_type code);
};

}  // namespace QMXDataDomain

// The columns of ___SALE_ORDER_SUMMARY in their declared order, as X(member, data_type code): the
// record's column table in the library and the portable layer are both made from this list.
#define QMX_SALE_ORDER_SUMMARY_COLUMNS(X) \
  X(SALE_SUM_NUM, type_float)             \
  X(UPDATE_TIME, type_text)               \
  X(STATUS, type_int)                     \
  X(CREATE_TIME, type_text)               \
  X(TOTAL_PRICE, type_float)              \
  X(INTEGRAL, type_int)                   \
  X(CUSTOMER_ID, type_text)               \
  X(RETURN_TOTAL_PRICE, type_float)       \
  X(EXT3, type_text)                      \
  X(EXT8, type_text)                      \
  X(RELIEF_PRICE, type_float)             \
  X(CREATE_USER, type_text)               \
  X(EXT9, type_text)                      \
  X(FALSE_TRADE, type_text)               \
  X(DEL_FLAG, type_int)                   \
  X(RAND_ID, type_text)                   \
  X(EXT2, type_text)                      \
  X(ORIGINAL_RAND_ID, type_text)          \
  X(REMARK, type_text)                    \
  X(RETURN_DEBT_PRICE, type_float)        \
  X(ORDER_TYPE, type_text)                \
  X(ERRCOUNT, type_int)                   \
  X(PAID_PRICE, type_float)               \
  X(EXT7, type_text)                      \
  X(RETURN_RELIEF_PRICE, type_float)      \
  X(UPDATE_USER, type_text)               \
  X(EXT1, type_text)                      \
  X(ORDER_SUMMARY_TYPE, type_int)         \
  X(RETURN_INTEGRAL, type_int64)          \
  X(EXT6, type_text)                      \
  X(SUBMIT, type_int)                     \
  X(EXT10, type_text)                     \
  X(POST_INTEGRAL, type_int64)            \
  X(ID, type_int64)                       \
  X(REMOTE_ADDRESS, type_text)            \
  X(RETURN_POST_INTEGRAL, type_int)       \
  X(EXT5, type_text)                      \
  X(SALE_TIME, type_text)                 \
  X(EXT4, type_text)                      \
  X(SALE_SORT_NUM, type_int)              \
  X(DEBT_PRICE, type_float)               \
  X(ORG, type_text)                       \
  X(SALE_TYPE, type_int)                  \
  X(SUBMIT_DETAIL, type_int)

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/record.h"
QMX_PORTABLE_RECORD(___SALE_ORDER_SUMMARY, QMXDAO_SALE_ORDER_SUMMARY,
                    QMX_SALE_ORDER_SUMMARY_COLUMNS)
inline void QMXDataDomain::___SALE_ORDER_SUMMARY::setInt64Field(const std::wstring& column,
                                                                long long value) {
  qmxdao::portable::setField(*this, QMXDAO_SET_INT64, column, qmxdao::portable::valueOf(value));
}
#endif
