#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stdexcept>

#include "qmxdao/storage/Utility.h"
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

using ResultRows = std::vector<std::map<std::wstring, std::wstring>>;

// Rows of a table are read a page at a time, so that a large table never sits in memory whole.
constexpr int kPageSize = 2000;

std::wstring quoted(const std::wstring& text, wchar_t quote) {
  std::wstring out(1, quote);
  for (wchar_t c : text) {
    out += c;
    if (c == quote) out += c;
  }
  return out + quote;
}

// The table's columns in the order of its CREATE statement.
std::vector<std::wstring> tableColumns(const std::wstring& table, QMXDAO::enDBNameType file) {
  std::vector<std::wstring> columns;
  // One row per column, in column order.
  const ResultRows rows =
      QMXDAO::Utility::SearchBySQL(L"PRAGMA table_info(" + quoted(table, L'"') + L")", file);
  for (const auto& row : rows) columns.push_back(row.at(L"name"));
  return columns;
}

std::vector<std::string> cellsOf(const std::map<std::wstring, std::wstring>& row,
                                 const std::vector<std::wstring>& columns) {
  std::vector<std::string> cells;
  for (const std::wstring& column : columns) {
    auto field = row.find(column);
    cells.push_back(field == row.end() ? std::string() : toUtf8(field->second));
  }
  return cells;
}

std::vector<std::string> utf8Names(const std::vector<std::wstring>& columns) {
  std::vector<std::string> names;
  for (const std::wstring& column : columns) names.push_back(toUtf8(column));
  return names;
}

void exportTable(const ExportArguments& args, RowWriter& writer) {
  const QMXDAO::enDBNameType file = fileOfTable(args.table, args.sale);
  const std::wstring path = existingDatabaseFile(file);
  const std::wstring table = fromUtf8(args.table);
  const std::vector<std::wstring> columns = tableColumns(table, file);
  if (columns.empty()) throw std::runtime_error(toUtf8(path) + " has no table " + args.table);

  const std::wstring where = fromUtf8(args.where);
  writer.begin(utf8Names(columns));
  // The pager's text holds the table name, the condition and about 60 characters of its own.
  std::vector<wchar_t> sql(table.size() + where.size() + 128);
  for (int page = 1;; ++page) {
    QMXDAO::Utility::BuildPagerSql(table.c_str(), kPageSize, page, L"rowid", true,
                                   where.empty() ? nullptr : where.c_str(), sql.data());
    const ResultRows rows = QMXDAO::Utility::SearchBySQL(sql.data(), file);
    for (const auto& row : rows) writer.row(cellsOf(row, columns));
    if (rows.size() < static_cast<std::size_t>(kPageSize)) break;
  }
  writer.end();
}

void exportQuery(const ExportArguments& args, RowWriter& writer) {
  const QMXDAO::enDBNameType file = chosenFile(args.sale);
  existingDatabaseFile(file);
  const ResultRows rows = QMXDAO::Utility::SearchBySQL(fromUtf8(args.query), file);
  std::vector<std::wstring> columns;
  if (!rows.empty()) {
    for (const auto& column : rows.front()) columns.push_back(column.first);
  }
  writer.begin(utf8Names(columns));
  for (const auto& row : rows) writer.row(cellsOf(row, columns));
  writer.end();
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
