// Reading CSV text (RFC 4180: comma separated, fields quoted with '"', a quote inside a quoted
// field doubled) into rows that remember the line on which they begin, so that a problem can be
// reported where a person finds it in an editor. A quoted field may hold commas, quotes and line
// breaks; blank lines are skipped; fields are kept exactly, blanks included.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace qmxdb {

struct CsvRow {
  std::size_t line = 0;  // the line, counted from 1, on which the row begins
  std::vector<std::string> fields;
};

// A row the reader could not take apart (a stray quote, a quoted field left open at the end).
struct CsvProblem {
  std::size_t line = 0;
  std::string reason;
};

// Reads in to its end, handing each row to onRow and each malformed row to onProblem; after a
// malformed row reading goes on with the next line. A UTF-8 byte order mark at the start is
// dropped. Exceptions thrown by the callbacks pass through.
void readCsv(std::istream& in, const std::function<void(CsvRow&)>& onRow,
             const std::function<void(const CsvProblem&)>& onProblem);

struct CsvText {
  std::vector<CsvRow> rows;
  std::vector<CsvProblem> problems;
};

// The whole text at once.
CsvText readCsv(std::istream& in);

}  // namespace qmxdb
