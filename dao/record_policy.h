// RecordPolicy: what one record type's data-access class does differently from the others. The
// operations and the batch save are written once (record_dao.h); a record's data-access class is
// its policy and nothing else.
#pragma once

#include <string>
#include <vector>

#include "domain/record_table.h"
#include "qmxdao/storage/Utility.h"

namespace qmxdao {

// How the batch save stamps the time texts of a record it inserts.
enum class NewRecordStamp {
  kNone,                 // written as the caller passed them
  kCreateTimeWhenEmpty,  // CREATE_TIME when empty, UPDATE_TIME always
  kBothTimes,            // both, whatever they held
};

// How the batch save gives a record it inserts its identifier.
enum class NewRecordId {
  kTableAssigns,            // "ID" bound as NULL
  kLargestPlusOneWhenZero,  // an ID of 0 becomes the largest stored ID plus 1; written
  kLargestPlusOne,          // always the largest stored ID plus 1; written
};

template <typename T>
struct RecordPolicy {
  const RecordTable<T>* table = nullptr;
  QMXDAO::enDBNameType file = QMXDAO::DBNAME_MAIN;

  // The natural-key lookup: its text (one '?' per key column) and the key members, bound in
  // order (text as text, numbers as numbers).
  std::wstring lookupSql;
  std::vector<Member<T>> keyMembers;
  // A lookup the engine rejects skips the record with a diagnostic line instead of ending the
  // call.
  bool skipsRecordOnLookupFailure = false;
  // A found record joins the update group only when this tells a difference from the stored
  // row; null: every found record is updated.
  bool (*differsFromStored)(const T& stored, const T& incoming) = nullptr;

  NewRecordStamp stamp = NewRecordStamp::kNone;
  NewRecordId newId = NewRecordId::kTableAssigns;

  // The debugger-output lines before the add and the update group: "%d" the group's size, "%s"
  // the current time text.
  const wchar_t* addLine = L"";
  const wchar_t* updateLine = L"";

  // Texts of the other operations, with the table name in place.
  std::wstring countSql;        // "select count(*) from T"
  std::wstring findByIdFormat;  // "SELECT * FROM T WHERE ID = %I64d"
  std::wstring deleteHead;      // "DELETE FROM T WHERE ID IN ("

  // Reads and deletes keep engine failures to themselves, giving what they had so far (a
  // delete: false).
  bool keepsReadFailures = false;
  // findById ends a line on standard output per row read.
  bool findByIdEndsLinePerRow = false;
};

// The policy every record starts from: the generic statement texts of its table and file.
template <typename T>
RecordPolicy<T> genericPolicy(const RecordTable<T>& table, QMXDAO::enDBNameType file) {
  RecordPolicy<T> policy;
  policy.table = &table;
  policy.file = file;
  const wchar_t* name = table.name().c_str();
  policy.countSql = QMXDAO::Utility::Format(L"select count(*) from %s", name);
  policy.findByIdFormat = L"SELECT * FROM " + table.name() + L" WHERE ID = %I64d";
  policy.deleteHead = QMXDAO::Utility::Format(L"DELETE FROM %s WHERE ID IN (", name);
  return policy;
}

}  // namespace qmxdao
