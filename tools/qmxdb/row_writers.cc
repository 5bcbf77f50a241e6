#include "tools/qmxdb/row_writers.h"

#include <nlohmann/json.hpp>

#include "tools/qmxdb/csv_writer.h"
#include "tools/qmxdb/table_printer.h"

namespace qmxdb {
namespace {

class CsvRowWriter : public RowWriter {
 public:
  explicit CsvRowWriter(std::ostream& out) : out_(out) {}
  void begin(const std::vector<std::string>& columns) override { writeCsvRow(out_, columns); }
  void row(const std::vector<std::string>& cells) override { writeCsvRow(out_, cells); }
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
  void row(const std::vector<std::string>& cells) override {
    // Kept in the table's column order rather than sorted.
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < columns_.size() && i < cells.size(); ++i) {
      object[columns_[i]] = cells[i];
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
  void row(const std::vector<std::string>& cells) override { lines_.push_back(cells); }
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

}  // namespace qmxdb
