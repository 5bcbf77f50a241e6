#include "tools/qmxdb/row_writers.h"

#include <nlohmann/json.hpp>

#include <cmath>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "tools/qmxdb/csv_writer.h"
#include "tools/qmxdb/table_printer.h"
#include "tools/qmxdb/text_numbers.h"

namespace qmxdb {
namespace {

std::vector<std::string> textsOf(const std::vector<Cell>& cells) {
  std::vector<std::string> texts;
  texts.reserve(cells.size());
  for (const Cell& cell : cells) texts.push_back(cell.text);
  return texts;
}

nlohmann::ordered_json jsonOf(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::kNull:
      return nullptr;
    case Cell::Kind::kInteger: {
      long long integer = 0;
      if (parseWholeInteger(cell.text, integer)) return integer;
      break;
    }
    case Cell::Kind::kReal: {
      // JSON has no infinities: those stay text.
      double real = 0.0;
      if (parseWholeDouble(cell.text, real) && std::isfinite(real)) return real;
      break;
    }
    case Cell::Kind::kText:
      break;
  }
  return cell.text;
}

class CsvRowWriter : public RowWriter {
 public:
  explicit CsvRowWriter(std::ostream& out) : out_(out) {}
  void begin(const std::vector<std::string>& columns) override { writeCsvRow(out_, columns); }
  void row(const std::vector<Cell>& cells) override { writeCsvRow(out_, textsOf(cells)); }
  void end() override { out_.flush(); }

 private:
  std::ostream& out_;
};

class JsonRowWriter : public RowWriter {
 public:
  explicit JsonRowWriter(std::ostream& out) : out_(out) {}
  void begin(const std::vector<std::string>& columns) override {
    columns_ = columns;
    out_ << '[';
  }
  void row(const std::vector<Cell>& cells) override {
    // Kept in column order rather than sorted.
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < columns_.size() && i < cells.size(); ++i) {
      object[columns_[i]] = jsonOf(cells[i]);
    }
    out_ << (rows_++ == 0 ? "\n  " : ",\n  ") << object.dump();
  }
  void end() override { out_ << (rows_ == 0 ? "]\n" : "\n]\n") << std::flush; }

 private:
  std::ostream& out_;
  std::vector<std::string> columns_;
  std::size_t rows_ = 0;
};

class TableRowWriter : public RowWriter {
 public:
  explicit TableRowWriter(std::ostream& out) : out_(out) {}
  void begin(const std::vector<std::string>& columns) override { columns_ = columns; }
  void row(const std::vector<Cell>& cells) override { lines_.push_back(textsOf(cells)); }
  void end() override { printTable(out_, columns_, lines_); }

 private:
  std::ostream& out_;
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> lines_;
};

}  // namespace

std::unique_ptr<RowWriter> newRowWriter(const std::string& format, std::ostream& out) {
  if (format == "csv") return std::make_unique<CsvRowWriter>(out);
  if (format == "json") return std::make_unique<JsonRowWriter>(out);
  if (format == "table") return std::make_unique<TableRowWriter>(out);
  return nullptr;
}

void writeQueryRows(CppSQLite3DB& db, const std::wstring& sql, RowWriter& writer) {
  runQuery(
      db, sql, [&](const std::vector<std::string>& names) { writer.begin(names); },
      [&](const std::vector<Cell>& cells) { writer.row(cells); });
  writer.end();
}

}  // namespace qmxdb
