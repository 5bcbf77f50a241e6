#include "tools/qmxdb/file_check.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "storage/connection.h"
#include "storage/page_hmac_check.h"
#include "tools/qmxdb/schema_shape.h"
#include "tools/qmxdb/table_printer.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

// The engine's code for "file is encrypted or is not a database".
constexpr int kNotADatabase = 26;
// At most this many of the integrity check's messages are shown.
constexpr int kShownProblems = 5;

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// Why a file that exists does not open with the key: a plain SQLite file starts with the
// engine's own header text, an encrypted one with its salt.
std::string whyItDoesNotOpen(const std::filesystem::path& file, const CppSQLite3Exception& e) {
  if (e.errorCode() != kNotADatabase) {
    return "the key fits, but the schema cannot be read: " + toUtf8(e.errorMessage());
  }
  char header[16] = {};
  std::ifstream(file, std::ios::binary).read(header, sizeof header);
  if (std::string(header, sizeof header) == std::string("SQLite format 3", 16)) {
    return "a plain SQLite file, not encrypted with the database key (\"qmxdb rekey\")";
  }
  return "does not open with the database key: another key, or not a database file";
}

std::vector<std::string> firstColumn(CppSQLite3DB& db, const wchar_t* sql) {
  std::vector<std::string> values;
  CppSQLite3Query query = db.execQuery(sql);
  for (; !query.eof(); query.nextRow()) values.push_back(toUtf8(query.getStringField(0)));
  query.finalize();
  return values;
}

// The engine's integrity check: "ok", or its first messages.
CheckLine integrity(CppSQLite3DB& db) {
  std::vector<std::string> problems = firstColumn(db, L"PRAGMA integrity_check(100);");
  if (problems.size() == 1 && problems[0] == "ok") return {"integrity", true, "ok"};
  std::string detail = std::to_string(problems.size()) + " problem(s): ";
  for (std::size_t i = 0; i < problems.size() && i < kShownProblems; ++i) {
    detail += (i > 0 ? "; " : "") + problems[i];
  }
  return {"integrity", false, detail};
}

// SQLCipher checks every page's HMAC from version 4 on, without reading the schema or a row.
CheckLine pageHmacs(const std::wstring& path) {
  const qmxdao::PageHmacCheck hmacs = qmxdao::checkPageHmacs(path, qmxdao::kDatabaseKey);
  if (!hmacs.available) {
    return {
        "page HMACs", true,
        "not checked: the engine (SQLCipher " + hmacs.engineVersion + ") cannot check them apart"};
  }
  if (hmacs.failures.empty()) return {"page HMACs", true, "ok"};
  return {"page HMACs", false,
          std::to_string(hmacs.failures.size()) + " failure(s): " + hmacs.failures.front()};
}

void addSchemaLines(CppSQLite3DB& db, const char* schemaSql, FileCheck& check) {
  const SchemaShape& installation = installationShape(schemaSql);
  const SchemaShape shape = readSchemaShape(db);
  const SchemaGaps gaps = findGaps(shape, installation);
  auto line = [&](const char* name, const std::vector<std::string>& missing) {
    check.lines.push_back(
        {name, missing.empty(), missing.empty() ? "ok" : "missing " + joined(missing)});
  };
  line("tables", gaps.tables);
  line("columns", gaps.columns);
  std::vector<std::string> indexes;
  for (const IndexShape& index : gaps.indexes) indexes.push_back(describeIndex(index));
  line("indexes", indexes);
  check.lines.push_back({"schema version", true,
                         (shape.version.empty() ? std::string("none") : shape.version) +
                             " (this installation: " + installation.version + ")"});
}

// Runs one step of the check; an engine failure becomes its failing line.
void step(FileCheck& check, const char* name, const std::function<void()>& work) {
  try {
    work();
  } catch (const CppSQLite3Exception& e) {
    check.lines.push_back({name, false, toUtf8(e.errorMessage())});
  }
}

}  // namespace

bool FileCheck::sound() const {
  for (const CheckLine& line : lines) {
    if (!line.ok) return false;
  }
  return !lines.empty();
}

std::string FileCheck::failures() const {
  std::vector<std::string> names;
  for (const CheckLine& line : lines) {
    if (!line.ok) names.push_back(line.check);
  }
  return joined(names);
}

FileCheck checkDatabaseFile(const std::wstring& path, const char* schemaSql) {
  FileCheck check;
  check.file = toUtf8(path);
  const std::filesystem::path file = filePath(path);
  if (!std::filesystem::is_regular_file(file)) {
    check.lines.push_back({"opens with the key", false, "no such file"});
    return check;
  }
  // The engine opens a file of no bytes as a new, empty database: say what it is instead.
  if (std::filesystem::file_size(file) == 0) {
    check.lines.push_back({"opens with the key", false, "an empty file"});
    return check;
  }
  std::shared_ptr<CppSQLite3DB> db;
  try {
    db = qmxdao::openConnection(path, qmxdao::kReadBusyTimeout);
    firstColumn(*db, L"select count(*) from sqlite_master;");  // a busy file's key is checked here
  } catch (const CppSQLite3Exception& e) {
    check.lines.push_back({"opens with the key", false, whyItDoesNotOpen(file, e)});
    // The key fits but the schema cannot be read: the pages can still be checked one by one.
    if (e.errorCode() != kNotADatabase)
      step(check, "page HMACs", [&] { check.lines.push_back(pageHmacs(path)); });
    return check;
  }
  check.lines.push_back({"opens with the key", true, "ok"});
  step(check, "integrity", [&] { check.lines.push_back(integrity(*db)); });
  step(check, "page HMACs", [&] { check.lines.push_back(pageHmacs(path)); });
  step(check, "schema", [&] { addSchemaLines(*db, schemaSql, check); });
  db->close();
  return check;
}

void printFileChecks(std::ostream& out, const std::vector<FileCheck>& checks) {
  for (const FileCheck& check : checks) {
    out << check.file << '\n';
    std::vector<std::vector<std::string>> lines;
    for (const CheckLine& line : check.lines) lines.push_back({line.check, line.detail});
    printTable(out, {"check", "result"}, lines, false);
    out << '\n';
  }
}

std::string checkVerdict(const std::vector<FileCheck>& checks) {
  std::string unsound;
  for (const FileCheck& check : checks) {
    if (!check.sound()) {
      unsound += (unsound.empty() ? "" : "; ") + check.file + " (" + check.failures() + ")";
    }
  }
  if (unsound.empty()) return checks.size() == 1 ? "The file is sound." : "Both files are sound.";
  return "NOT SOUND: " + unsound;
}

}  // namespace qmxdb
