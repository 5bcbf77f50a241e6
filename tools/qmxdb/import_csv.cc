#include "tools/qmxdb/import_csv.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/csv_reader.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

// Which record column each field of the header names.
std::vector<std::size_t> mapHeader(const CsvRow& header, const RecordBatch& batch,
                                   const std::string& table) {
  std::map<std::string, std::size_t> columnIndex;
  for (std::size_t i = 0; i < batch.columns().size(); ++i) {
    columnIndex[batch.columns()[i].name] = i;
  }
  std::vector<std::size_t> columnOf;
  std::map<std::string, bool> seen;
  for (const std::string& name : header.fields) {
    auto column = columnIndex.find(name);
    if (column == columnIndex.end()) {
      std::string known;
      for (const RecordColumn& c : batch.columns()) known += (known.empty() ? "" : " ") + c.name;
      throw CsvHeaderError("line " + std::to_string(header.line) + ": " + table +
                           " has no column \"" + name + "\" (its columns: " + known + ")");
    }
    if (seen[name]) {
      throw CsvHeaderError("line " + std::to_string(header.line) + ": column " + name +
                           " is named twice");
    }
    seen[name] = true;
    columnOf.push_back(column->second);
  }
  return columnOf;
}

class ProgressBar {
 public:
  ProgressBar(std::ostream* out, std::uintmax_t totalBytes) : out_(out), totalBytes_(totalBytes) {}
  ~ProgressBar() {
    if (drawn_) *out_ << '\n' << std::flush;
  }

  // position: how far into the input reading is, in bytes; negative when not known.
  void show(std::size_t rows, std::streamoff position) {
    if (out_ == nullptr || rows <= kProgressRows) return;
    constexpr int kWidth = 30;
    *out_ << '\r';
    if (totalBytes_ > 0 && position >= 0) {
      const double done = std::min(1.0, static_cast<double>(position) / totalBytes_);
      const int filled = static_cast<int>(done * kWidth);
      *out_ << '[' << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
            << static_cast<int>(done * 100) << "% ";
    }
    *out_ << rows << " rows" << std::flush;
    drawn_ = true;
  }

 private:
  std::ostream* out_;
  std::uintmax_t totalBytes_;
  bool drawn_ = false;
};

}  // namespace

void importCsv(const RecordKind& kind, std::istream& in, const ImportOptions& options,
               ImportSummary& summary) {
  const std::wstring table = fromUtf8(kind.table);
  std::unique_ptr<RecordBatch> batch = kind.newBatch();
  const std::size_t batchSize = options.batchSize > 0 ? options.batchSize : 1;
  ProgressBar bar(options.progress, options.totalBytes);

  bool haveHeader = false;
  std::vector<std::size_t> columnOf;
  auto saveBatch = [&] {
    const std::size_t rows = batch->size();
    batch->save();
    summary.saved += rows;
    // At the end of the input the stream no longer tells its position: all of it is read.
    const std::streamoff position = in.tellg();
    bar.show(summary.read, position >= 0 || !in.eof()
                               ? position
                               : static_cast<std::streamoff>(options.totalBytes));
  };

  readCsv(
      in,
      [&](CsvRow& row) {
        if (!haveHeader) {
          columnOf = mapHeader(row, *batch, kind.table);
          haveHeader = true;
          // Counted only once the file is known to fit, so a bad header opens nothing.
          summary.rowsBefore = QMXDAO::Utility::GetItemCount(table, L"", kind.file);
          summary.rowsAfter = summary.rowsBefore;
          return;
        }
        ++summary.read;
        if (row.fields.size() != columnOf.size()) {
          summary.rejected.push_back({row.line, std::to_string(row.fields.size()) +
                                                    " fields where the header names " +
                                                    std::to_string(columnOf.size())});
          return;
        }
        try {
          batch->add(columnOf, row.fields);
        } catch (const FieldError& e) {
          summary.rejected.push_back({row.line, e.what()});
          return;
        }
        if (batch->size() >= batchSize) saveBatch();
      },
      [&](const CsvProblem& problem) {
        if (!haveHeader) {
          throw CsvHeaderError("line " + std::to_string(problem.line) +
                               ": the header row is malformed: " + problem.reason);
        }
        ++summary.read;
        summary.rejected.push_back({problem.line, problem.reason});
      });
  if (!haveHeader) throw CsvHeaderError("the file is empty: it needs a header row of columns");
  saveBatch();
  summary.rowsAfter = QMXDAO::Utility::GetItemCount(table, L"", kind.file);
}

}  // namespace qmxdb
