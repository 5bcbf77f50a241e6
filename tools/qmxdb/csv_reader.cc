#include "tools/qmxdb/csv_reader.h"

#include <csv.h>

#include <stdexcept>
#include <utility>

namespace qmxdb {
namespace {

// libcsv trims blanks around unquoted fields by default; a stored text with a leading blank must
// come back with it, so no character counts as a blank.
int noBlanks(unsigned char) { return 0; }

// One libcsv parser, freed however reading ends.
class Parser {
 public:
  Parser() { init(); }
  ~Parser() { csv_free(&parser_); }
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  csv_parser* get() { return &parser_; }

  // A parser that met malformed text is not trusted to go on: a new one starts clean.
  void restart() {
    csv_free(&parser_);
    init();
  }

 private:
  void init() {
    if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) != 0) {
      throw std::runtime_error("cannot set up the CSV parser");
    }
    csv_set_space_func(&parser_, noBlanks);
  }

  csv_parser parser_;
};

// What the parser's callbacks fill in. Finished rows wait here until the parser returns: the
// callbacks run inside C code, which an exception from the caller's onRow must not cross.
struct Reading {
  CsvRow row;
  std::vector<CsvRow> finished;
  std::size_t startLine = 0;    // 0 while no field of the next row has been read yet
  std::size_t currentLine = 0;  // the line being fed
};

void endField(void* data, std::size_t size, void* reading) {
  auto* state = static_cast<Reading*>(reading);
  if (state->startLine == 0) state->startLine = state->currentLine;
  state->row.fields.emplace_back(static_cast<const char*>(data), size);
}

void endRow(int, void* reading) {
  auto* state = static_cast<Reading*>(reading);
  // A lone carriage return ends a row in the middle of a line; the next row begins there.
  state->row.line = state->startLine != 0 ? state->startLine : state->currentLine;
  state->finished.push_back(std::move(state->row));
  state->row = CsvRow();
  state->startLine = 0;
}

void handOut(Reading& state, const std::function<void(CsvRow&)>& onRow) {
  for (CsvRow& row : state.finished) onRow(row);
  state.finished.clear();
}

bool isBlank(const std::string& line) {
  return line.empty() || (line.size() == 1 && line[0] == '\r');
}

}  // namespace

void readCsv(std::istream& in, const std::function<void(CsvRow&)>& onRow,
             const std::function<void(const CsvProblem&)>& onProblem) {
  Parser parser;
  Reading state;
  std::string line;
  std::size_t lineNumber = 0;
  // Fed one line at a time, so that each row knows the line it began on: a row ends only at a
  // line break, and it begins on the first line that is not blank after the previous row.
  while (std::getline(in, line)) {
    ++lineNumber;
    state.currentLine = lineNumber;
    if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (state.startLine == 0) {
      if (isBlank(line)) continue;
      state.startLine = lineNumber;
    }
    if (!in.eof()) line += '\n';
    const std::size_t parsed =
        csv_parse(parser.get(), line.data(), line.size(), endField, endRow, &state);
    const bool malformed = parsed != line.size();
    const std::size_t badLine = state.startLine != 0 ? state.startLine : lineNumber;
    handOut(state, onRow);
    if (malformed) {
      // The rest of this row is dropped and reading starts afresh on the next line.
      const std::string reason = csv_strerror(csv_error(parser.get()));
      parser.restart();
      state = Reading();
      state.currentLine = lineNumber;
      onProblem({badLine, "malformed quoting: " + reason});
    }
  }
  const std::size_t lastStart = state.startLine != 0 ? state.startLine : lineNumber;
  const bool unclosed = csv_fini(parser.get(), endField, endRow, &state) != 0;
  handOut(state, onRow);
  if (unclosed) onProblem({lastStart, "a quoted field is not closed before the end of the file"});
}

CsvText readCsv(std::istream& in) {
  CsvText text;
  readCsv(
      in, [&](CsvRow& row) { text.rows.push_back(std::move(row)); },
      [&](const CsvProblem& problem) { text.problems.push_back(problem); });
  return text;
}

}  // namespace qmxdb
