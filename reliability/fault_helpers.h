// What the fault tests share: batches of customers that can be recognised after a crash, the
// engine's own check of a file, and reads that say whether they failed the way the library
// promises (CppSQLite3Exception) or gave an answer.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"

namespace qmxdao::test {

// A batch of new customers: every record carries the batch number in EXT1 and one ORG that no
// other batch uses, so that the rows of a batch can be counted whatever else the file holds.
inline std::vector<QMXDataDomain::___CUSTOMER> customerBatch(long long batch, int size,
                                                             const std::wstring& filler = L"") {
  std::vector<QMXDataDomain::___CUSTOMER> records(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i) {
    auto& record = records[static_cast<std::size_t>(i)];
    record.ORG = L"org-" + std::to_wstring(batch);
    record.EXT1 = std::to_wstring(batch);
    record.CUSTOMER_NAME = L"customer " + std::to_wstring(i);
    record.EXT3 = filler;
  }
  return records;
}

using Rows = std::vector<std::map<std::wstring, std::wstring>>;

// The rows of a query, or the exception it ended with. Any other exception escapes to the test.
struct ReadOutcome {
  std::optional<Rows> rows;
  std::optional<CppSQLite3Exception> error;
};

inline ReadOutcome tryRead(const std::wstring& sql,
                           QMXDAO::enDBNameType type = QMXDAO::DBNAME_MAIN) {
  ReadOutcome outcome;
  try {
    outcome.rows = QMXDAO::Utility::SearchBySQL(sql, type);
  } catch (const CppSQLite3Exception& e) {
    outcome.error = e;
  }
  return outcome;
}

// "ok" for a sound file; otherwise the engine's findings, one per line.
inline std::wstring integrityCheck(QMXDAO::enDBNameType type = QMXDAO::DBNAME_MAIN) {
  std::wstring report;
  for (const auto& row : QMXDAO::Utility::SearchBySQL(L"PRAGMA integrity_check", type)) {
    for (const auto& field : row) report += (report.empty() ? L"" : L"\n") + field.second;
  }
  return report;
}

inline long long customerCount() {
  return QMXDAO::Utility::GetItemCount(L"CUSTOMER", L"", QMXDAO::DBNAME_MAIN);
}

}  // namespace qmxdao::test
