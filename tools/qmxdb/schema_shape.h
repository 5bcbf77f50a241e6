// The shape of a database file's schema (its tables with their columns, its indexes with their
// columns, its version row) and what a file lacks against the installation's: the tables,
// columns and natural-key indexes of the shipped schema. Indexes are matched by table and
// columns, not by name, so an index an older installation named otherwise still counts.
#pragma once

#include <map>
#include <string>
#include <vector>

class CppSQLite3DB;

namespace qmxdb {

struct IndexShape {
  std::string name;
  std::string table;
  std::vector<std::string> columns;
  std::string sql;  // the CREATE INDEX statement
};

struct SchemaShape {
  std::map<std::string, std::vector<std::string>> tables;  // table name to its columns
  std::vector<IndexShape> indexes;                         // those made by CREATE INDEX
  std::string version;                                     // empty without a version row
};

struct SchemaGaps {
  std::vector<std::string> tables;   // "ITEM"
  std::vector<std::string> columns;  // "ITEM.UPC"
  std::vector<IndexShape> indexes;   // the installation's index
  bool empty() const { return tables.empty() && columns.empty() && indexes.empty(); }
};

SchemaShape readSchemaShape(CppSQLite3DB& db);

// The shape of a shipped schema script, read from a scratch file built from it (kept for the
// process's life).
const SchemaShape& installationShape(const char* schemaSql);

// Whether the shape holds the table with every one of the columns.
bool hasColumns(const SchemaShape& shape, const std::string& table,
                const std::vector<std::string>& columns);

SchemaGaps findGaps(const SchemaShape& file, const SchemaShape& installation);

// "ITEM (UPC, ORG)".
std::string describeIndex(const IndexShape& index);

}  // namespace qmxdb
