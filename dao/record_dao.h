// RecordDAO: the data-access operations of one record type, written once and driven by the
// record's policy. Every operation opens its own connection, writes in one transaction and
// closes again; an engine failure leaves it as CppSQLite3Exception, and the connection is then
// released without a commit, so a write call stores all of its records or none.
#pragma once

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "dao/record_policy.h"
#include "dao/record_writer.h"
#include "dao/row_reader.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "storage/connection.h"
#include "storage/engine_access.h"
#include "storage/platform.h"

namespace qmxdao {

// A write transaction takes the write lock at once: a deferred one that reads (the batch save's
// lookups) and then writes would fail with "database is locked" whenever another connection
// wrote in between, whatever the busy timeout.
inline constexpr wchar_t kBeginWrite[] = L"begin immediate transaction;";
inline constexpr wchar_t kCommit[] = L"commit transaction;";

template <typename T>
class RecordDAO {
 public:
  explicit RecordDAO(RecordPolicy<T> policy) : policy_(std::move(policy)), table_(*policy_.table) {}

  const RecordPolicy<T>& policy() const { return policy_; }

  bool add(const std::vector<T>& records) const {
    return write(records,
                 [](RecordWriter<T>& writer, const T& record) { writer.insert(record, false); });
  }

  bool update(const std::vector<T>& records) const {
    return write(records, [](RecordWriter<T>& writer, const T& record) { writer.update(record); });
  }

  bool delet(const std::vector<long long>& ids) const {
    if (ids.empty()) return false;
    bool deleted = false;
    reading([&] {
      auto db = openConnection(policy_.file, kReadBusyTimeout);
      db->execDML(kBeginWrite);
      std::wstring sql = policy_.deleteHead;
      for (std::size_t i = 0; i < ids.size(); ++i) {
        sql += std::to_wstring(ids[i]);
        sql += i + 1 < ids.size() ? L"," : L" )";
      }
      db->execDML(sql.c_str());
      db->execDML(kCommit);
      db->close();
      deleted = true;
    });
    return deleted;
  }

  long long count() const { return countBy(policy_.countSql, kDatabaseKey); }

  // The value of the last field of the last row of sql, read as a 64-bit integer.
  long long countBy(const std::wstring& sql, const wchar_t* key) const {
    long long count = 0;
    reading([&] {
      auto db = openConnection(policy_.file, kReadBusyTimeout, key);
      CppSQLite3Query query = db->execQuery(sql.c_str());
      for (; !query.eof(); query.nextRow()) {
        for (int field = 0; field < query.numFields(); ++field) {
          const wchar_t* text = query.fieldValue(field);
          count = text != nullptr ? std::wcstoll(text, nullptr, 10) : 0;
        }
      }
      query.finalize();
      db->close();
    });
    return count;
  }

  T findById(long long id) const {
    T record;
    reading([&] {
      auto db = openConnection(policy_.file, kReadBusyTimeout);
      std::wstring sql = QMXDAO::Utility::Format(policy_.findByIdFormat.c_str(), id);
      CppSQLite3Query query = db->execQuery(sql.c_str());
      RowReader<T> reader(table_, query);
      for (; !query.eof(); query.nextRow()) {
        reader.read(record, query);
        if (policy_.findByIdEndsLinePerRow) platform::writeEndOfLine();
      }
      query.finalize();
      db->close();
    });
    return record;
  }

  std::vector<T> findBySQL(const std::wstring& sql, const wchar_t* key = kDatabaseKey) const {
    std::vector<T> records;
    eachBySQL(sql, key, [&](const T& record) { records.push_back(record); });
    return records;
  }

  // What findBySQL reads, handed to row one record at a time as it is read.
  template <typename Row>
  void eachBySQL(const std::wstring& sql, const wchar_t* key, Row&& row) const {
    if (sql.empty()) return;
    reading([&] {
      // One scratch record for all rows: a field whose column the result lacks keeps the value
      // of the row before.
      T scratch;
      auto db = openConnection(policy_.file, kReadBusyTimeout, key);
      CppSQLite3Query query = db->execQuery(sql.c_str());
      RowReader<T> reader(table_, query);
      for (; !query.eof(); query.nextRow()) {
        reader.read(scratch, query);
        row(static_cast<const T&>(scratch));
      }
      query.finalize();
      db->close();
    });
  }

  bool save(std::vector<T> records) const;

 private:
  template <typename WriteOne>
  bool write(const std::vector<T>& records, WriteOne writeOne) const {
    if (records.empty()) return false;
    auto db = openConnection(policy_.file, kWriteBusyTimeout);
    db->execDML(kBeginWrite);
    {
      RecordWriter<T> writer(*db, table_);
      for (const T& record : records) writeOne(writer, record);
    }
    db->execDML(kCommit);
    db->close();
    return true;
  }

  // Runs a read (or a delete); a record type that keeps engine failures to itself ends it
  // quietly with what it had so far.
  template <typename Work>
  void reading(Work work) const {
    if (!policy_.keepsReadFailures) {
      work();
      return;
    }
    try {
      work();
    } catch (const CppSQLite3Exception&) {
    }
  }

  RecordPolicy<T> policy_;
  const RecordTable<T>& table_;
};

}  // namespace qmxdao

#include "dao/batch_save.h"
