// The data-access classes of the portable layer. A class's header expands
// QMX_PORTABLE_DAO(Impl, Interface, Record) for its members: a batch crosses the C boundary as
// one array of values pointing into the caller's records, and what is read comes back one record
// at a time. The single-record forms build a vector of the one record and call the vector form
// through the virtual table, as the exported classes do.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qmxdao/portable/record.h"

namespace qmxdao::portable {

template <typename Record>
bool write(int32_t operation, const std::vector<Record>& records) {
  checkColumns<Record>();
  std::vector<qmxdao_value> values;
  values.reserve(records.size() * RecordColumns<Record>::kColumnCount);
  for (const Record& record : records) appendValues(record, values);
  int32_t done = 0;
  call(qmxdao_dao_write, RecordColumns<Record>::kKind, operation,
       static_cast<const qmxdao_value*>(values.data()), records.size(), &done);
  return done != 0;
}

template <typename Record>
bool remove(const std::vector<long long>& ids) {
  std::vector<int64_t> list(ids.begin(), ids.end());
  int32_t done = 0;
  call(qmxdao_dao_delete, RecordColumns<Record>::kKind, static_cast<const int64_t*>(list.data()),
       list.size(), &done);
  return done != 0;
}

template <typename Record>
long long count(int32_t keyed) {
  int64_t rows = 0;
  call(qmxdao_dao_count, RecordColumns<Record>::kKind, keyed, &rows);
  return rows;
}

template <typename Record>
Record findById(long long id) {
  RecordList<Record> found;
  call(qmxdao_dao_find_by_id, RecordColumns<Record>::kKind, static_cast<int64_t>(id),
       &intoList<Record>, static_cast<void*>(&found));
  return std::move(found.records.at(0));
}

template <typename Record>
std::vector<Record> findBySQL(int32_t keyed, const std::wstring& sql) {
  RecordList<Record> found;
  call(qmxdao_dao_find_by_sql, RecordColumns<Record>::kKind, keyed, sql.data(), sql.size(),
       &intoList<Record>, static_cast<void*>(&found));
  return std::move(found.records);
}

}  // namespace qmxdao::portable

#define QMX_PORTABLE_DAO(Impl, Interface, Record)                                              \
  inline QMXDAO::Interface::Interface() = default;                                             \
  inline QMXDAO::Interface::Interface(const Interface& other) = default;                       \
  inline QMXDAO::Interface& QMXDAO::Interface::operator=(const Interface& other) = default;    \
  inline QMXDAO::Interface::~Interface() = default;                                            \
  inline QMXDAO::Impl::Impl() = default;                                                       \
  inline QMXDAO::Impl::~Impl() = default;                                                      \
  inline bool QMXDAO::Impl::add(std::vector<QMXDataDomain::Record> records) {                  \
    return qmxdao::portable::write(QMXDAO_ADD, records);                                       \
  }                                                                                            \
  inline bool QMXDAO::Impl::add(QMXDataDomain::Record record) {                                \
    return add(std::vector<QMXDataDomain::Record>{std::move(record)});                         \
  }                                                                                            \
  inline bool QMXDAO::Impl::update(std::vector<QMXDataDomain::Record> records) {               \
    return qmxdao::portable::write(QMXDAO_UPDATE, records);                                    \
  }                                                                                            \
  inline bool QMXDAO::Impl::update(QMXDataDomain::Record record) {                             \
    return update(std::vector<QMXDataDomain::Record>{std::move(record)});                      \
  }                                                                                            \
  inline bool QMXDAO::Impl::save(std::vector<QMXDataDomain::Record> records) {                 \
    return qmxdao::portable::write(QMXDAO_SAVE, records);                                      \
  }                                                                                            \
  inline bool QMXDAO::Impl::save(QMXDataDomain::Record record) {                               \
    return save(std::vector<QMXDataDomain::Record>{std::move(record)});                        \
  }                                                                                            \
  inline bool QMXDAO::Impl::delet(std::vector<long long> ids) {                                \
    return qmxdao::portable::remove<QMXDataDomain::Record>(ids);                               \
  }                                                                                            \
  inline bool QMXDAO::Impl::delet(long long id) { return delet(std::vector<long long>{id}); }  \
  inline long long QMXDAO::Impl::count() {                                                     \
    return qmxdao::portable::count<QMXDataDomain::Record>(1);                                  \
  }                                                                                            \
  inline QMXDataDomain::Record QMXDAO::Impl::findById(long long id) {                          \
    return qmxdao::portable::findById<QMXDataDomain::Record>(id);                              \
  }                                                                                            \
  inline std::vector<QMXDataDomain::Record> QMXDAO::Impl::findBySQL(const std::wstring& sql) { \
    return qmxdao::portable::findBySQL<QMXDataDomain::Record>(1, sql);                         \
  }
