// Loading a CSV file into one of the record tables through that record's batch save, a batch of
// rows at a time. The first row names the columns, exactly as the record writes them; a column
// the file leaves out keeps the record's default. A line that does not make a record (a wrong
// number of fields, a number that does not parse, malformed quoting) is rejected with its line
// number and the rest go on; every batch is one transaction, so a failure never leaves half a
// batch, and rows stored before the import stay unless a row with the same natural key replaces
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/qmxdb/record_kinds.h"

namespace qmxdb {

// A header that does not fit the table: no header at all, an unknown or repeated column. Nothing
// is saved.
class CsvHeaderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ImportOptions {
  std::size_t batchSize = 2000;
  // Where a progress bar is drawn once more than kProgressRows rows have been read; null: none.
  std::ostream* progress = nullptr;
  // The size of the input in bytes, for the bar's percentage; 0 when not known.
  std::uintmax_t totalBytes = 0;
};

inline constexpr std::size_t kProgressRows = 5000;

struct RejectedLine {
  std::size_t line = 0;
  std::string reason;
};

// What an import did. The tables do not tell an updated row from one left alone, so the counts
// are: inserted = the table's rows after minus before; matched = the other saved rows, whose
// natural key was stored already (updated, or left as they were when the record's batch save
// drops unchanged rows, as the item's does), or repeated a key earlier in the file.
struct ImportSummary {
  std::size_t read = 0;   // data rows, good or not
  std::size_t saved = 0;  // rows handed to committed batch saves
  long long rowsBefore = 0;
  long long rowsAfter = 0;
  std::vector<RejectedLine> rejected;

  long long inserted() const { return rowsAfter - rowsBefore; }
  long long matched() const { return static_cast<long long>(saved) - inserted(); }
};

// Imports in into kind's table, filling summary as it goes (so that after a failure it tells
// what was stored before). Throws CsvHeaderError before saving anything, CppSQLite3Exception when
// the engine fails (the batch in hand is not stored; earlier batches are).
void importCsv(const RecordKind& kind, std::istream& in, const ImportOptions& options,
               ImportSummary& summary);

}  // namespace qmxdb
