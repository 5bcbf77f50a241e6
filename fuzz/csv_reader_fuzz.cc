// The qmxdb tool's CSV reader on arbitrary text: it never fails, each row knows a line of the
// text on which it begins (in order; a lone carriage return starts a second row on the same line), and the rows it reads, written out again by the tool's CSV
// writer, read back to the very same fields.
#include <algorithm>
#include <sstream>
#include <string>

#include "fuzz/fuzz_input.h"
#include "tools/qmxdb/csv_reader.h"
#include "tools/qmxdb/csv_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  std::istringstream in(text);
  const qmxdb::CsvText read = qmxdb::readCsv(in);

  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::size_t previous = 1;
  for (const qmxdb::CsvRow& row : read.rows) {
    FUZZ_CHECK(row.line >= previous && row.line <= lines);
    FUZZ_CHECK(!row.fields.empty());
    previous = row.line;
  }
  for (const qmxdb::CsvProblem& problem : read.problems) {
    FUZZ_CHECK(problem.line >= 1 && problem.line <= lines && !problem.reason.empty());
  }

  std::ostringstream out;
  for (const qmxdb::CsvRow& row : read.rows) qmxdb::writeCsvRow(out, row.fields);
  std::istringstream written(out.str());
  const qmxdb::CsvText again = qmxdb::readCsv(written);
  FUZZ_CHECK(again.problems.empty());
  FUZZ_CHECK(again.rows.size() == read.rows.size());
  for (std::size_t i = 0; i < read.rows.size(); ++i) {
    FUZZ_CHECK(again.rows[i].fields == read.rows[i].fields);
  }
  return 0;
}
