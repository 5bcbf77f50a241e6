// What the fault tests share: batches of customers, the engine's check of a file, guarded reads.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"

namespace qmxdao::test {

// New customers carrying the batch number in EXT1 and an ORG of their own batch.
inline std::vector<QMXDataDomain::___CUSTOMER> customerBatch(long long batch, int size,
                                                             const std::wstring& filler = L"") {
  std::vector<QMXDataDomain::___CUSTOMER> records(static_cast<std::size_t>(size));
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].ORG = L"org-" + std::to_wstring(batch);
    records[i].EXT1 = std::to_wstring(batch);
    records[i].CUSTOMER_NAME = L"customer " + std::to_wstring(i);
    records[i].EXT3 = filler;
  }
  return records;
}

using Rows = std::vector<std::map<std::wstring, std::wstring>>;

struct ReadOutcome {  // the rows of a query, or the engine's exception it ended with
  std::optional<Rows> rows;
  std::optional<CppSQLite3Exception> error;
};

inline ReadOutcome tryRead(const std::wstring& sql,
                           QMXDAO::enDBNameType type = QMXDAO::DBNAME_MAIN) {
  try {
    return {QMXDAO::Utility::SearchBySQL(sql, type), std::nullopt};
  } catch (const CppSQLite3Exception& e) {
    return {std::nullopt, e};
  }
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
