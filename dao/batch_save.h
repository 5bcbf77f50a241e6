// The batch save: for each record, in order, the natural-key lookup decides between the add
// group (a new record, stamped) and the update group (the stored row merged with the incoming
// record by the record's own copy assignment). All lookups run before any write, so records of
// one call are classified against the table as it was when the call began. Then the add group
// is inserted and the update group written, in one transaction.
#pragma once

#include <algorithm>
#include <optional>
#include <variant>

#include "dao/record_dao.h"
#include "storage/now_text.h"
#include "storage/text_codec.h"

namespace qmxdao {

namespace batch_save {

// The prepared natural-key lookup of one call, run again for every record with its key values
// bound as parameters: a key holding a quote is looked up like any other.
template <typename T>
class KeyLookup {
 public:
  KeyLookup(CppSQLite3DB& db, const RecordPolicy<T>& policy) : db_(db), policy_(policy) {}

  // Runs the lookup for record; the query must be done with before the next run.
  CppSQLite3Query run(const T& record) {
    if (!compiled_) {
      statement_ = db_.compileStatement(policy_.lookupSql.c_str());
      compiled_ = true;
    }
    statement_.reset();  // the one reset of a run: the query then starts without another
    int position = 1;
    for (const Member<T>& key : policy_.keyMembers) {
      std::visit([&](auto member) { bindKey(position++, record.*member); }, key);
    }
    return statement_.execQuery();
  }

 private:
  void bindKey(int position, const std::wstring& value) {
    bindText(statement_, position, value.data(), value.size());
  }
  void bindKey(int position, long long value) { statement_.bind(position, value); }
  void bindKey(int position, int value) { statement_.bind(position, value); }
  void bindKey(int position, float value) { statement_.bind(position, static_cast<double>(value)); }

  CppSQLite3DB& db_;
  const RecordPolicy<T>& policy_;
  CppSQLite3Statement statement_;
  bool compiled_ = false;
};

// "SELECT max(ID) FROM T ", prepared once and run again before each insert, so that it sees the
// rows the call inserted before.
class LargestId {
 public:
  LargestId(CppSQLite3DB& db, const std::wstring& table)
      : statement_(db.compileStatement(
            QMXDAO::Utility::Format(L"SELECT max(ID) FROM %s ", table.c_str()).c_str())) {}

  long long next() {
    long long largest = 0;
    {
      CppSQLite3Query query = statement_.execQuery();
      if (!query.eof()) largest = query.getInt64Field(0, 0);  // an empty table gives NULL
    }
    statement_.reset();
    return largest + 1;
  }

 private:
  CppSQLite3Statement statement_;
};

inline void writeGroupLine(const wchar_t* format, std::size_t size) {
  std::wstring now = QMXDAO::Utility::GetNowTime();
  platform::debugOutput(QMXDAO::Utility::Format(format, static_cast<int>(size), now.c_str()));
}

template <typename T>
void stampNewRecord(T& record, NewRecordStamp stamp, NowText& clock) {
  if (stamp == NewRecordStamp::kNone) return;
  const std::wstring& now = clock.current();
  if (stamp == NewRecordStamp::kBothTimes || record.CREATE_TIME.empty()) record.CREATE_TIME = now;
  record.UPDATE_TIME = now;
}

}  // namespace batch_save

template <typename T>
bool RecordDAO<T>::save(std::vector<T> records) const {
  if (records.empty()) return false;
  auto db = openConnection(policy_.file, kWriteBusyTimeout);
  db->execDML(kBeginWrite);

  // Records stay where they are in the call's own vector: a new one is stamped in place, an
  // update becomes the stored row merged with it. Each group is their positions (the records
  // declare copies but no moves: a group of records would copy every field of each).
  std::vector<std::size_t> adds;
  adds.reserve(records.size());
  std::vector<std::size_t> updates;
  {
    batch_save::KeyLookup<T> lookup(*db, policy_);
    NowText clock;
    std::vector<long long> matchedIds;
    std::optional<RowReader<T>> reader;
    for (std::size_t index = 0; index < records.size(); ++index) {
      T& record = records[index];
      CppSQLite3Query query;
      try {
        query = lookup.run(record);
      } catch (const CppSQLite3Exception& e) {
        // A tolerated failure skips its record only inside the call's transaction: when the
        // engine has rolled it back (an I/O error), the call ends and nothing of it is stored.
        // A key the library refuses to convert is no engine failure: it ends the call too.
        if (!policy_.skipsRecordOnLookupFailure || !EngineAccess::inTransaction(*db) ||
            e.errorCode() == kRefusedTextCode) {
          throw;
        }
        platform::debugOutput(QMXDAO::Utility::Format(L"pDBC->execQuery error %d:%s,sql=%s\n",
                                                      e.errorCode(), e.errorMessage(),
                                                      policy_.lookupSql.c_str()));
        continue;
      }
      if (query.eof()) {
        batch_save::stampNewRecord(record, policy_.stamp, clock);
        adds.push_back(index);
        continue;
      }
      // Every matching row is read in turn into one scratch record: the last one wins. The
      // lookup's columns are the same for every record, so they are matched once.
      T stored;
      matchedIds.clear();
      if (!reader) reader.emplace(table_, query);
      for (; !query.eof(); query.nextRow()) {
        reader->read(stored, query);
        matchedIds.push_back(stored.ID);
      }
      query.finalize();
      if (policy_.differsFromStored != nullptr && !policy_.differsFromStored(stored, record)) {
        continue;  // nothing to write
      }
      long long lastReadId = stored.ID;
      stored = record;  // the record type's merge rule decides what the stored row keeps
      // The update goes to a matched row: the incoming ID when it names one, else the one read
      // last (an ID of 0 or of an unrelated row would write nothing, or the wrong row).
      if (std::find(matchedIds.begin(), matchedIds.end(), stored.ID) == matchedIds.end()) {
        stored.ID = lastReadId;
      }
      table_.copyFields(record, stored);  // field by field, not by the merge rule again
      updates.push_back(index);
    }
  }

  {
    RecordWriter<T> writer(*db, table_);
    if (!adds.empty()) {
      batch_save::writeGroupLine(policy_.addLine, adds.size());
      bool writesId = policy_.newId != NewRecordId::kTableAssigns;
      std::unique_ptr<batch_save::LargestId> largestId;
      if (writesId) largestId = std::make_unique<batch_save::LargestId>(*db, table_.name());
      for (std::size_t index : adds) {
        T& record = records[index];
        if (policy_.newId == NewRecordId::kLargestPlusOne ||
            (policy_.newId == NewRecordId::kLargestPlusOneWhenZero && record.ID == 0)) {
          record.ID = largestId->next();
        }
        writer.insert(record, writesId);
      }
    }
    if (!updates.empty()) {
      batch_save::writeGroupLine(policy_.updateLine, updates.size());
      for (std::size_t index : updates) writer.update(records[index]);
    }
  }
  db->execDML(kCommit);
  db->close();
  return true;
}

}  // namespace qmxdao
