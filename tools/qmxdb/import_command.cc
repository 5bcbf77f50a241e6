#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <system_error>

#include "qmxdao/storage/CppSQLite3Exception.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/import_csv.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct ImportArguments {
  bool sale = false;
  std::string table;
  std::string file;
  std::size_t batchSize = 2000;
};

// The rejected lines listed in the summary; the count covers the rest.
constexpr std::size_t kListedRejects = 50;

void printSummary(std::ostream& out, const std::string& table, const ImportSummary& summary) {
  out << table << ": read " << summary.read << " rows, saved " << summary.saved << " ("
      << summary.inserted() << " inserted, " << summary.matched()
      << " matched a stored key: updated, or left alone when unchanged), rejected "
      << summary.rejected.size() << '\n'
      << "rows in " << table << ": " << summary.rowsBefore << " before, " << summary.rowsAfter
      << " after\n";
  for (std::size_t i = 0; i < summary.rejected.size() && i < kListedRejects; ++i) {
    out << "  line " << summary.rejected[i].line << ": " << summary.rejected[i].reason << '\n';
  }
  if (summary.rejected.size() > kListedRejects) {
    out << "  ... and " << summary.rejected.size() - kListedRejects << " more\n";
  }
}

}  // namespace

CommandRun declareImport(CLI::App& command) {
  auto args = std::make_shared<ImportArguments>();
  command.add_option("TABLE", args->table, "a record table, for example ITEM")->required();
  command.add_option("FILE", args->file, "the CSV file (UTF-8, comma separated, \"-quoted)")
      ->required();
  addSaleFlag(command, args->sale);
  command.add_option("--batch", args->batchSize, "rows per batch save (one transaction each)")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  return [args] {
    const RecordKind* kind = findRecordKind(args->table);
    if (kind == nullptr) {
      throw UsageError(args->table + " is not a record table; one of " + recordTableNames());
    }
    fileOfTable(args->table, args->sale);
    std::ifstream in(std::filesystem::u8path(args->file), std::ios::binary);
    if (!in) throw UsageError("cannot read " + args->file);
    existingDatabaseFile(kind->file);

    ImportOptions options;
    options.batchSize = args->batchSize;
    options.progress = &std::cerr;
    std::error_code sizeUnknown;
    const std::uintmax_t size =
        std::filesystem::file_size(std::filesystem::u8path(args->file), sizeUnknown);
    options.totalBytes = sizeUnknown ? 0 : size;

    ImportSummary summary;
    try {
      importCsv(*kind, in, options, summary);
    } catch (const CsvHeaderError& e) {
      throw UsageError(args->file + ": " + e.what());
    } catch (const CppSQLite3Exception&) {
      if (summary.saved > 0) {
        std::cerr << "stopped: the batch in hand is not stored; " << summary.saved
                  << " rows were saved before it\n";
      }
      throw;
    }
    printSummary(std::cout, args->table, summary);
    return summary.rejected.empty() ? 0 : 1;
  };
}

}  // namespace qmxdb
