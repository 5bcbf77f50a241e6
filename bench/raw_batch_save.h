// A record class's batch save written straight against SQLCipher's C interface, for comparison
// with the library's: one connection with the raw key, one transaction, the natural-key lookup,
// one INSERT and one UPDATE of every column, each compiled once and reused, with the values,
// stamps and identifiers the library writes. It reads the record's column declaration and its
// merge rule (the record's copy assignment), as the library does; the rest is plain C calls.
#pragma once

#include <utf8.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "bench/bench_shop.h"
#include "dao/record_policy.h"
#include "domain/record_table.h"

namespace qmxbench {

inline std::string utf8Of(const std::wstring& text) {
  std::string out;
  utf8::utf32to8(text.begin(), text.end(), std::back_inserter(out));
  return out;
}

template <typename T>
class RawBatchSave {
 public:
  using Column = qmxdao::Column<T>;

  // The library's policy of the record class, written out again by the benchmark.
  explicit RawBatchSave(const qmxdao::RecordPolicy<T>& policy)
      : policy_(policy), columns_(policy.table->columns()), lookupSql_(utf8Of(policy.lookupSql)) {
    const std::string table = utf8Of(policy.table->name());
    std::string names;
    std::string marks;
    std::string assignments;
    for (const Column& column : columns_) {
      const std::string name = utf8Of(column.name);
      names += (names.empty() ? "" : ",") + name;
      marks += marks.empty() ? "?" : ",?";
      if (name == "ID") continue;
      assignments += (assignments.empty() ? "" : ",") + name + " = ?";
    }
    insertSql_ = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ");";
    updateSql_ = "UPDATE " + table + " SET " + assignments + " WHERE ID = ?;";
    largestSql_ = "SELECT max(ID) FROM " + table + " ";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (std::wcscmp(columns_[i].name, L"ID") == 0) id_ = i;
    }
    texts_.resize(columns_.size());
  }

  // Saves records as the library's batch save does; returns how many were updates. Like the
  // library's, it owns its vector: new records are stamped in place and inserted by position.
  std::size_t save(std::vector<T> records) {
    const RawShop& shop = rawShop(policy_.file);
    RawDb db(shop.path, shop.rawKey, 100000);
    db.exec("begin immediate transaction;");
    std::vector<std::size_t> adds;
    adds.reserve(records.size());
    std::vector<T> updates;
    {
      RawStatement lookup(db.get(), lookupSql_.c_str());
      std::vector<const Column*> fields = fieldsOf(lookup.get());
      std::vector<long long> matched;
      NowStamp clock;
      for (std::size_t index = 0; index < records.size(); ++index) {
        T& record = records[index];
        bindKeys(lookup.get(), record);
        int rc = lookup.step();
        if (rc == SQLITE_DONE) {
          stamp(record, clock);
          adds.push_back(index);
          sqlite3_reset(lookup.get());
          continue;
        }
        T stored;
        matched.clear();
        for (; rc == SQLITE_ROW; rc = lookup.step()) {
          read(lookup.get(), fields, stored);
          matched.push_back(stored.ID);
        }
        check(db.get(), rc, SQLITE_DONE);
        sqlite3_reset(lookup.get());
        if (policy_.differsFromStored != nullptr && !policy_.differsFromStored(stored, record)) {
          continue;
        }
        long long lastRead = stored.ID;
        stored = record;  // the record's merge rule
        if (std::find(matched.begin(), matched.end(), stored.ID) == matched.end()) {
          stored.ID = lastRead;
        }
        if (updates.empty()) updates.reserve(records.size() - index);
        updates.push_back(std::move(stored));
      }
    }
    if (!adds.empty()) {
      RawStatement insert(db.get(), insertSql_.c_str());
      RawStatement largest(db.get(), largestSql_.c_str());
      const bool writesId = policy_.newId != qmxdao::NewRecordId::kTableAssigns;
      for (std::size_t index : adds) {
        T& record = records[index];
        if (policy_.newId == qmxdao::NewRecordId::kLargestPlusOne ||
            (policy_.newId == qmxdao::NewRecordId::kLargestPlusOneWhenZero && record.ID == 0)) {
          check(db.get(), largest.step(), SQLITE_ROW);
          record.ID = sqlite3_column_int64(largest.get(), 0) + 1;
          sqlite3_reset(largest.get());
        }
        for (std::size_t i = 0; i < columns_.size(); ++i) {
          if (i == id_ && !writesId) {
            sqlite3_bind_null(insert.get(), static_cast<int>(i) + 1);
          } else {
            bind(insert.get(), static_cast<int>(i) + 1, record, i);
          }
        }
        insert.run();
      }
    }
    if (!updates.empty()) {
      RawStatement update(db.get(), updateSql_.c_str());
      for (const T& record : updates) {
        int position = 1;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
          bind(update.get(), i == id_ ? static_cast<int>(columns_.size()) : position++, record, i);
        }
        update.run();
      }
    }
    db.exec("commit transaction;");
    return updates.size();
  }

 private:
  void bindKeys(sqlite3_stmt* stmt, const T& record) {
    int position = 1;
    keyTexts_.resize(policy_.keyMembers.size());
    for (const qmxdao::Member<T>& key : policy_.keyMembers) {
      if (auto text = std::get_if<std::wstring T::*>(&key)) {
        std::string& utf8 = keyTexts_[position - 1];
        utf8.clear();
        const std::wstring& value = record.*(*text);
        utf8::utf32to8(value.begin(), value.end(), std::back_inserter(utf8));
        sqlite3_bind_text(stmt, position, utf8.data(), static_cast<int>(utf8.size()),
                          SQLITE_STATIC);
      } else if (auto wide = std::get_if<long long T::*>(&key)) {
        sqlite3_bind_int64(stmt, position, record.*(*wide));
      } else if (auto narrow = std::get_if<int T::*>(&key)) {
        sqlite3_bind_int(stmt, position, record.*(*narrow));
      }
      ++position;
    }
  }

  void stamp(T& record, NowStamp& clock) const {
    if (policy_.stamp == qmxdao::NewRecordStamp::kNone) return;
    const std::wstring& now = clock.current();
    if (policy_.stamp == qmxdao::NewRecordStamp::kBothTimes || record.CREATE_TIME.empty()) {
      record.CREATE_TIME = now;
    }
    record.UPDATE_TIME = now;
  }

  // The record's column for each result column, matched by name once per call.
  std::vector<const Column*> fieldsOf(sqlite3_stmt* stmt) const {
    std::vector<const Column*> fields;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      fields.push_back(policy_.table->find(
          fromUtf8(reinterpret_cast<const unsigned char*>(sqlite3_column_name(stmt, i)),
                   static_cast<int>(std::strlen(sqlite3_column_name(stmt, i))))
              .c_str()));
    }
    return fields;
  }

  static void read(sqlite3_stmt* stmt, const std::vector<const Column*>& fields, T& record) {
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
      if (fields[i] == nullptr) continue;
      const qmxdao::Member<T>& member = fields[i]->member;
      if (auto text = std::get_if<std::wstring T::*>(&member)) {
        record.*(*text) = fromUtf8(sqlite3_column_text(stmt, i), sqlite3_column_bytes(stmt, i));
      } else if (auto wide = std::get_if<long long T::*>(&member)) {
        record.*(*wide) = sqlite3_column_int64(stmt, i);
      } else if (auto narrow = std::get_if<int T::*>(&member)) {
        record.*(*narrow) = sqlite3_column_int(stmt, i);
      } else {
        record.*std::get<float T::*>(member) = static_cast<float>(sqlite3_column_double(stmt, i));
      }
    }
  }

  // Binds column i of the record: a text as UTF-8 (the empty text as NULL), a float as its
  // value rounded to six decimals, an int member as a 64-bit int where its code says so.
  void bind(sqlite3_stmt* stmt, int position, const T& record, std::size_t i) {
    const Column& column = columns_[i];
    if (auto text = std::get_if<std::wstring T::*>(&column.member)) {
      const std::wstring& value = record.*(*text);
      if (value.empty()) {
        sqlite3_bind_null(stmt, position);
        return;
      }
      std::string& utf8 = texts_[i];
      utf8.clear();
      utf8::utf32to8(value.begin(), value.end(), std::back_inserter(utf8));
      sqlite3_bind_text(stmt, position, utf8.data(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    } else if (auto wide = std::get_if<long long T::*>(&column.member)) {
      long long value = record.*(*wide);
      if (column.code == QMXDataDomain::type_int) {  // written as a 32-bit int, saturated
        sqlite3_bind_int(stmt, position,
                         static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX)));
      } else {
        sqlite3_bind_int64(stmt, position, value);
      }
    } else if (auto narrow = std::get_if<int T::*>(&column.member)) {
      if (column.code == QMXDataDomain::type_int64) {
        sqlite3_bind_int64(stmt, position, record.*(*narrow));
      } else {
        sqlite3_bind_int(stmt, position, record.*(*narrow));
      }
    } else {
      double value = static_cast<double>(record.*std::get<float T::*>(column.member));
      sqlite3_bind_double(stmt, position, std::nearbyint(value * 1e6) / 1e6);
    }
  }

  const qmxdao::RecordPolicy<T>& policy_;
  const std::vector<Column>& columns_;
  std::string lookupSql_;
  std::string insertSql_;
  std::string updateSql_;
  std::string largestSql_;
  std::size_t id_ = 0;
  std::vector<std::string> texts_;     // UTF-8 texts bound until the statement has run
  std::vector<std::string> keyTexts_;  // likewise for the lookup's keys
};

}  // namespace qmxbench
