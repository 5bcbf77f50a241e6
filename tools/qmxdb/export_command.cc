#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stdexcept>

#include "qmxdao/storage/Utility.h"
#include "storage/connection.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/row_writers.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct ExportArguments {
  bool sale = false;
  std::string table;
  std::string query;
  std::string where;
  std::string format = "csv";
};

// Rows of a table are read a page at a time, each page its own read, so that a large table
// never sits in memory whole and writers are not held off for the whole export.
constexpr int kPageSize = 2000;

void exportTable(const ExportArguments& args, RowWriter& writer) {
  const QMXDAO::enDBNameType file = fileOfTable(args.table, args.sale);
  const std::wstring path = existingDatabaseFile(file);
  const std::wstring table = fromUtf8(args.table);
  std::wstring tableLiteral;
  for (wchar_t c : table) tableLiteral += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
  auto db = qmxdao::openConnection(file, qmxdao::kReadBusyTimeout);
  {
    CppSQLite3Query exists = db->execQuery(
        (L"select 1 from sqlite_master where type='table' and name='" + tableLiteral + L"'")
            .c_str());
    if (exists.eof()) throw std::runtime_error(toUtf8(path) + " has no table " + args.table);
  }

  const std::wstring where = fromUtf8(args.where);
  // The pager's text holds the table name, the condition and about 60 characters of its own.
  std::vector<wchar_t> sql(table.size() + where.size() + 128);
  // "select *" gives the table's own column order.
  bool first = true;
  auto begin = [&](const std::vector<std::string>& names) {
    if (first) writer.begin(names);
    first = false;
  };
  auto row = [&](const std::vector<Cell>& cells) { writer.row(cells); };
  for (int page = 1;; ++page) {
    QMXDAO::Utility::BuildPagerSql(table.c_str(), kPageSize, page, L"rowid", true,
                                   where.empty() ? nullptr : where.c_str(), sql.data());
    if (runQuery(*db, sql.data(), begin, row) < static_cast<std::size_t>(kPageSize)) break;
  }
  db->close();
  writer.end();
}

void exportQuery(const ExportArguments& args, RowWriter& writer) {
  const QMXDAO::enDBNameType file = chosenFile(args.sale);
  existingDatabaseFile(file);
  auto db = qmxdao::openConnection(file, qmxdao::kReadBusyTimeout);
  writeQueryRows(*db, fromUtf8(args.query), writer);
  db->close();
}

}  // namespace

CommandRun declareExport(CLI::App& command) {
  auto args = std::make_shared<ExportArguments>();
  command.add_option("TABLE", args->table, "the table to export, for example ITEM");
  command.add_option("--query", args->query, "a SELECT statement to export instead of a table");
  command.add_option("--where", args->where, "with TABLE: a condition in SQL");
  command.add_option("--format", args->format, "csv (read back by import), json or table")
      ->capture_default_str()
      ->check(CLI::IsMember({"csv", "json", "table"}));
  addSaleFlag(command, args->sale);
  return [args] {
    if (args->table.empty() == args->query.empty()) {
      throw UsageError("export takes either a TABLE or --query \"SQL\"");
    }
    if (!args->where.empty() && args->table.empty()) {
      throw UsageError("--where goes with a TABLE; write the condition into the query");
    }
    std::unique_ptr<RowWriter> writer = newRowWriter(args->format, std::cout);
    if (!args->table.empty()) {
      exportTable(*args, *writer);
    } else {
      exportQuery(*args, *writer);
    }
    return 0;
  };
}

}  // namespace qmxdb
