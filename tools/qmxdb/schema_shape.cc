#include "tools/qmxdb/schema_shape.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

// Column rows of one query, as UTF-8; NULL is empty.
std::vector<std::vector<std::string>> rowsOf(CppSQLite3DB& db, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  CppSQLite3Query query = db.execQuery(fromUtf8(sql).c_str());
  for (; !query.eof(); query.nextRow()) {
    std::vector<std::string> row;
    for (int field = 0; field < query.numFields(); ++field) {
      row.push_back(toUtf8(query.getStringField(field)));
    }
    rows.push_back(row);
  }
  query.finalize();
  return rows;
}

std::string quotedName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// The engine compares names without regard to ASCII case.
std::string folded(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name;
}

bool sameNames(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const std::string& x, const std::string& y) {
           return folded(x) == folded(y);
         });
}

const std::vector<std::string>* columnsOf(const SchemaShape& shape, const std::string& table) {
  for (const auto& [name, columns] : shape.tables) {
    if (folded(name) == folded(table)) return &columns;
  }
  return nullptr;
}

}  // namespace

SchemaShape readSchemaShape(CppSQLite3DB& db) {
  SchemaShape shape;
  for (const auto& row : rowsOf(db,
                                "select name from sqlite_master where type='table' and name not "
                                "like 'sqlite\\_%' escape '\\' order by name")) {
    std::vector<std::string>& columns = shape.tables[row[0]];
    for (const auto& column : rowsOf(db, "PRAGMA table_info(" + quotedName(row[0]) + ")")) {
      columns.push_back(column[1]);  // cid, name, type, notnull, default, pk
    }
  }
  for (const auto& row : rowsOf(db,
                                "select name, tbl_name, sql from sqlite_master where "
                                "type='index' and sql is not null order by name")) {
    IndexShape index{row[0], row[1], {}, row[2]};
    for (const auto& column : rowsOf(db, "PRAGMA index_info(" + quotedName(row[0]) + ")")) {
      index.columns.push_back(column[2]);  // seqno, cid, name, in seqno order
    }
    shape.indexes.push_back(index);
  }
  if (columnsOf(shape, "version") != nullptr) {
    auto rows = rowsOf(db, "select version from version");
    if (!rows.empty()) shape.version = rows.back()[0];
  }
  return shape;
}

const SchemaShape& installationShape(const char* schemaSql) {
  static std::map<const char*, SchemaShape> shapes;
  auto known = shapes.find(schemaSql);
  if (known != shapes.end()) return known->second;

  std::random_device random;
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("qmxdb-schema-" + std::to_string(random()) + ".db");
  const std::wstring path = scratch.wstring();
  createDatabaseFile(path, schemaSql, L"");
  SchemaShape shape;
  try {
    CppSQLite3DB db;
    db.open(path.c_str(), L"");
    shape = readSchemaShape(db);
    db.close();
  } catch (...) {
    std::filesystem::remove(scratch);
    throw;
  }
  std::filesystem::remove(scratch);
  return shapes[schemaSql] = shape;
}

bool hasColumns(const SchemaShape& shape, const std::string& table,
                const std::vector<std::string>& columns) {
  const std::vector<std::string>* present = columnsOf(shape, table);
  return present != nullptr &&
         std::all_of(columns.begin(), columns.end(), [&](const std::string& column) {
           return std::any_of(present->begin(), present->end(), [&](const std::string& name) {
             return folded(name) == folded(column);
           });
         });
}

SchemaGaps findGaps(const SchemaShape& file, const SchemaShape& installation) {
  SchemaGaps gaps;
  for (const auto& [table, columns] : installation.tables) {
    if (columnsOf(file, table) == nullptr) {
      gaps.tables.push_back(table);
      continue;
    }
    for (const std::string& column : columns) {
      if (!hasColumns(file, table, {column})) gaps.columns.push_back(table + "." + column);
    }
  }
  for (const IndexShape& wanted : installation.indexes) {
    bool found =
        std::any_of(file.indexes.begin(), file.indexes.end(), [&](const IndexShape& index) {
          return folded(index.table) == folded(wanted.table) &&
                 sameNames(index.columns, wanted.columns);
        });
    if (!found) gaps.indexes.push_back(wanted);
  }
  return gaps;
}

std::string describeIndex(const IndexShape& index) {
  std::string text = index.table + " (";
  for (std::size_t i = 0; i < index.columns.size(); ++i) {
    text += (i > 0 ? ", " : "") + index.columns[i];
  }
  return text + ")";
}

}  // namespace qmxdb
