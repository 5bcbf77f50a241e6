// The members that every data-access class defines the same way: the entity interface's special
// members, the implementation's constructor and destructor, and its eleven operations, which hand
// the work to the record's RecordDAO. The single-record forms build a vector of the one record
// and call the vector form through the virtual table, so a class that overrides the vector form
// changes the single form too.
#pragma once

#include <utility>
#include <vector>

#include "dao/record_dao.h"

#define QMX_DEFINE_DAO_OPERATIONS(Impl, Interface, Record, dao)                               \
  Interface::Interface() = default;                                                           \
  Interface::Interface(const Interface& other) = default;                                     \
  Interface& Interface::operator=(const Interface& other) = default;                          \
  Interface::~Interface() = default;                                                          \
  Impl::Impl() = default;                                                                     \
  Impl::~Impl() = default;                                                                    \
  bool Impl::add(std::vector<Record> records) { return (dao).add(records); }                  \
  bool Impl::add(Record record) { return add(std::vector<Record>{std::move(record)}); }       \
  bool Impl::update(std::vector<Record> records) { return (dao).update(records); }            \
  bool Impl::update(Record record) { return update(std::vector<Record>{std::move(record)}); } \
  bool Impl::save(std::vector<Record> records) { return (dao).save(std::move(records)); }     \
  bool Impl::save(Record record) { return save(std::vector<Record>{std::move(record)}); }     \
  bool Impl::delet(std::vector<long long> ids) { return (dao).delet(ids); }                   \
  bool Impl::delet(long long id) { return delet(std::vector<long long>{id}); }                \
  long long Impl::count() { return (dao).count(); }                                           \
  Record Impl::findById(long long id) { return (dao).findById(id); }                          \
  std::vector<Record> Impl::findBySQL(const std::wstring& sql) { return (dao).findBySQL(sql); }
