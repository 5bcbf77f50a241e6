// The qmxdb tool, run as a separate program: it works on the db folder beside its executable, so
// each test copies the binary into a fresh folder of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

namespace fs = std::filesystem;

namespace {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class QmxdbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("qmxdb_test_" + std::to_string(random()));
    fs::create_directories(folder_);
    tool_ = folder_ / "qmxdb";
    fs::copy_file(QMXDB_BINARY, tool_);
    fs::permissions(tool_, fs::perms::owner_exec, fs::perm_options::add);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the copied tool with arguments already quoted for the shell.
  RunResult run(const std::string& args) {
    const fs::path out = folder_ / "stdout.txt";
    const fs::path err = folder_ / "stderr.txt";
    std::string command =
        "'" + tool_.string() + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
  }

  fs::path mainFile() const { return folder_ / "db" / "QMX.db"; }
  fs::path saleFile() const { return folder_ / "db" / "SALE.db"; }

  fs::path folder_;
  fs::path tool_;
};

// The first row's first field of a query on a file opened with the given key.
std::string firstField(const fs::path& file, const wchar_t* key, const wchar_t* sql) {
  CppSQLite3DB db;
  db.open(file.wstring().c_str(), key);
  CppSQLite3Query query = db.execQuery(sql);
  std::wstring value = query.eof() ? L"" : query.getStringField(0);
  query.finalize();
  db.close();
  return std::string(value.begin(), value.end());
}

TEST_F(QmxdbTest, InitCreatesBothKeyedFilesOnceAndNeverOverwrites) {
  RunResult first = run("init");
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_TRUE(fs::exists(mainFile()));
  ASSERT_TRUE(fs::exists(saleFile()));

  // Both open with the database key, hold their tables and the version row, and are encrypted.
  EXPECT_EQ(firstField(mainFile(), L"KRD1987",
                       L"select count(*) from sqlite_master where type='table' and name in "
                       L"('CUSTOMER','ITEM','ITEM_TYPE','ITEM_QTY','MERCHANT_INFO',"
                       L"'PURCHASE_INFO','USER','version')"),
            "8");
  EXPECT_EQ(firstField(saleFile(), L"KRD1987",
                       L"select count(*) from sqlite_master where type='table' and name in "
                       L"('SALE_ORDER','SALE_ORDER_SUMMARY','version')"),
            "3");
  EXPECT_EQ(firstField(saleFile(), L"KRD1987", L"select version from version"), "1.0.0");
  EXPECT_THROW(firstField(mainFile(), L"", L"select count(*) from sqlite_master"),
               CppSQLite3Exception);

  const std::string mainBytes = readFile(mainFile());
  const std::string saleBytes = readFile(saleFile());
  RunResult second = run("init");
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.err.find("exists already"), std::string::npos) << second.err;
  EXPECT_EQ(readFile(mainFile()), mainBytes);
  EXPECT_EQ(readFile(saleFile()), saleBytes);

  // With only one of the two files present init still refuses and writes nothing.
  fs::remove(saleFile());
  EXPECT_EQ(run("init").status, 1);
  EXPECT_FALSE(fs::exists(saleFile()));
  EXPECT_EQ(readFile(mainFile()), mainBytes);
}

TEST_F(QmxdbTest, SqlAndVersionReadTheChosenFile) {
  ASSERT_EQ(run("init").status, 0);

  RunResult rows = run("sql \"select 'a' as x, 'bcd' as name union all select 'efgh', 'i'\"");
  ASSERT_EQ(rows.status, 0) << rows.err;
  // Columns in name order, padded to the widest cell.
  EXPECT_EQ(rows.out,
            "name | x\n"
            "-----+-----\n"
            "bcd  | a\n"
            "i    | efgh\n"
            "(2 rows)\n");

  RunResult sale = run("sql --sale \"select name from sqlite_master where name='SALE_ORDER'\"");
  ASSERT_EQ(sale.status, 0) << sale.err;
  EXPECT_NE(sale.out.find("SALE_ORDER\n(1 rows)"), std::string::npos) << sale.out;
  EXPECT_EQ(run("sql \"select name from sqlite_master where name='SALE_ORDER'\"").out,
            "(0 rows)\n");

  RunResult version = run("version --sale");
  ASSERT_EQ(version.status, 0) << version.err;
  EXPECT_EQ(version.out, "1.0.0\n");

  RunResult bad = run("sql \"select * from NO_SUCH_TABLE\"");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("error 1: no such table: NO_SUCH_TABLE"), std::string::npos) << bad.err;
}

TEST_F(QmxdbTest, FilesTheKeyDoesNotOpenFailWithTheEngineMessage) {
  fs::create_directories(folder_ / "db");
  // A file keyed with another key, and a file that is no database at all.
  qmxdb::createDatabaseFile(mainFile().wstring(), qmxdb::mainSchemaSql(), L"another key");
  std::ofstream(saleFile(), std::ios::binary) << std::string(4096, 'x');

  for (const char* args : {"sql \"select count(*) from ITEM\"", "version --sale"}) {
    RunResult result = run(args);
    EXPECT_EQ(result.status, 1) << args;
    EXPECT_EQ(result.out, "") << args;
    EXPECT_NE(result.err.find("error 26: file is encrypted or is not a database"),
              std::string::npos)
        << args << ": " << result.err;
  }
}

TEST_F(QmxdbTest, BadUsageExitsTwoAndMissingFilesAreNotCreated) {
  for (const char* args : {"", "nonsense", "init extra", "sql", "sql \"select 1\" \"select 2\"",
                           "sql --main \"select 1\"", "version --bogus", "version extra"}) {
    RunResult result = run(args);
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_NE(result.err.find("usage: qmxdb"), std::string::npos) << args << ": " << result.err;
  }

  // Before init a query fails instead of leaving an empty file that would stop init.
  RunResult early = run("sql \"select 1\"");
  EXPECT_EQ(early.status, 1);
  EXPECT_NE(early.err.find("qmxdb init"), std::string::npos) << early.err;
  EXPECT_FALSE(fs::exists(mainFile()));
  EXPECT_EQ(run("init").status, 0);
}

}  // namespace
