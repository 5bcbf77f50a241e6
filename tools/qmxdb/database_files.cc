#include "tools/qmxdb/database_files.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "tools/qmxdb/schema_text.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

const wchar_t kDatabaseKey[] = L"KRD1987";

namespace {

// True when the piece holds nothing but blanks and "--" comments, as the text after the last ';'
// of a script does.
bool isEmptyStatement(const std::string& piece) {
  bool inComment = false;
  for (std::size_t i = 0; i < piece.size(); ++i) {
    char c = piece[i];
    if (inComment) {
      inComment = c != '\n';
    } else if (c == '-' && i + 1 < piece.size() && piece[i + 1] == '-') {
      inComment = true;
    } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      return false;
    }
  }
  return true;
}

// The script's statements, each with its ';'. The shipped scripts keep ';' out of their
// statements and comments, so a plain split is enough.
std::vector<std::wstring> splitStatements(const char* schemaSql) {
  std::vector<std::wstring> statements;
  std::string script = schemaSql;
  std::size_t start = 0;
  while (start < script.size()) {
    std::size_t end = script.find(';', start);
    if (end == std::string::npos) end = script.size();
    std::string piece = script.substr(start, end - start);
    if (!isEmptyStatement(piece)) statements.push_back(fromUtf8(piece + ";"));
    start = end + 1;
  }
  return statements;
}

// A zero-byte file (a placeholder, or one cut to nothing) holds no data and is no database: init
// fills it rather than refusing, which would leave the shop with a file every call refuses.
bool isZeroByteFile(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error) &&
         std::filesystem::file_size(file, error) == 0 && !error;
}

void removeQuietly(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

}  // namespace

void createDatabaseFile(const std::wstring& path, const char* schemaSql, const std::wstring& key) {
  const std::filesystem::path file = filePath(path);
  const bool placeholder = isZeroByteFile(file);
  if (std::filesystem::exists(file) && !placeholder) {
    throw std::runtime_error(toUtf8(path) + " exists already and is not overwritten");
  }
  try {
    // The engine object goes out of scope before the handler runs, so the file is closed (and
    // its open transaction rolled back) before it is removed.
    CppSQLite3DB db;
    db.open(path.c_str(), key.c_str());
    db.execDML(L"begin transaction;");
    for (const std::wstring& statement : splitStatements(schemaSql)) {
      db.execDML(statement.c_str());
    }
    db.execDML(L"commit transaction;");
    db.close();
  } catch (...) {
    if (!placeholder) removeQuietly(file);  // a placeholder is left as it was: zero bytes
    throw;
  }
}

void createDatabaseFiles(const std::wstring& dbFolder) {
  const std::wstring mainFile = dbFolder + L"QMX.db";
  const std::wstring saleFile = dbFolder + L"SALE.db";
  for (const std::wstring& path : {mainFile, saleFile}) {
    if (std::filesystem::exists(filePath(path)) && !isZeroByteFile(filePath(path))) {
      throw std::runtime_error(toUtf8(path) + " exists already and is not overwritten");
    }
  }
  std::filesystem::create_directories(filePath(dbFolder));
  createDatabaseFile(mainFile, mainSchemaSql(), kDatabaseKey);
  try {
    createDatabaseFile(saleFile, saleSchemaSql(), kDatabaseKey);
  } catch (...) {
    // Half an installation would make the next attempt refuse; leave none.
    removeQuietly(filePath(mainFile));
    throw;
  }
}

}  // namespace qmxdb
