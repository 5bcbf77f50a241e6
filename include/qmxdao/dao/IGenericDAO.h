// IGenericDAO: the operations every data-access class offers over its record type T, in the
// fixed order of their virtual table. Write operations run in one transaction and return false
// only for an empty input; reads report a miss with a default record, an empty vector or 0.
// Engine failures reach the caller as CppSQLite3Exception. There is no virtual destructor:
// destroy an object through its own class.
#pragma once

#include <string>
#include <vector>

#include "qmxdao/storage/Export.h"

namespace QMXDAO {

template <typename T>
class QMX_EXPORT IGenericDAO {
 public:
  IGenericDAO() = default;
  IGenericDAO(const IGenericDAO&) {}
  IGenericDAO& operator=(const IGenericDAO&) { return *this; }

  virtual bool add(std::vector<T> records) = 0;
  virtual bool add(T record) = 0;
  virtual bool update(std::vector<T> records) = 0;
  virtual bool update(T record) = 0;
  // Inserts the records whose natural key is not stored yet and updates the rows of the others.
  virtual bool save(std::vector<T> records) = 0;
  virtual bool save(T record) = 0;
  virtual bool delet(std::vector<long long> ids) = 0;
  virtual bool delet(long long id) = 0;
  virtual long long count() = 0;
  virtual T findById(long long id) = 0;
  // Runs the caller's SELECT and reads each row into a record by column name.
  virtual std::vector<T> findBySQL(const std::wstring& sql) = 0;
};

}  // namespace QMXDAO
