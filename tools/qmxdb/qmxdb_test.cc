// The qmxdb tool, run as a separate program: it works on the db folder beside its executable, so
// each test copies the binary into a fresh folder of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"
#include "tools/qmxdb/tool_fixture.h"

namespace fs = std::filesystem;

namespace {

using qmxdb::test::readFile;
using qmxdb::test::RunResult;
using QmxdbTest = qmxdb::test::ToolTest;

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
  // Columns in the query's order, padded to the widest cell.
  EXPECT_EQ(rows.out,
            "x    | name\n"
            "-----+-----\n"
            "a    | bcd\n"
            "efgh | i\n"
            "(2 rows)\n");

  RunResult sale = run("sql --sale \"select name from sqlite_master where name='SALE_ORDER'\"");
  ASSERT_EQ(sale.status, 0) << sale.err;
  EXPECT_NE(sale.out.find("SALE_ORDER\n(1 row)"), std::string::npos) << sale.out;
  EXPECT_EQ(run("sql \"select name from sqlite_master where name='SALE_ORDER'\"").out,
            "name\n----\n(0 rows)\n");

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
  const std::string csv = file("c.csv", "ORG\nshop\n");

  for (const std::string& args : std::vector<std::string>{
           "sql \"select count(*) from ITEM\"", "version --sale", "import CUSTOMER " + csv,
           "import SALE_ORDER_SUMMARY " + csv, "export ITEM", "count ITEM", "schema SALE_ORDER",
           "rekey", "demo"}) {
    RunResult result = run(args);
    EXPECT_EQ(result.status, 1) << args;
    EXPECT_NE(result.err.find("error 26: file is not a database"), std::string::npos)
        << args << ": " << result.err;
  }
  // Nothing wrote through the other key: the file still holds no customer.
  EXPECT_EQ(firstField(mainFile(), L"another key", L"select count(*) from CUSTOMER"), "0");
}

TEST_F(QmxdbTest, BadUsageExitsTwoAndMissingFilesAreNotCreated) {
  const std::string csv = file("c.csv", "ORG\nshop\n");
  const std::vector<std::string> badUsages = {"",
                                              "nonsense",
                                              "--bogus",
                                              "init extra",
                                              "sql",
                                              "sql \"select 1\" \"select 2\"",
                                              "sql --main \"select 1\"",
                                              "version --bogus",
                                              "version extra",
                                              "import",
                                              "import ITEM",
                                              "import NO_SUCH_TABLE " + csv,
                                              "import ITEM --sale " + csv,
                                              "import ITEM " + csv + " --batch 0",
                                              "import ITEM /no/such/file.csv",
                                              "export",
                                              "export ITEM --query \"select 1\"",
                                              "export ITEM --format xml",
                                              "export --query x --where ID=1",
                                              "count",
                                              "count ITEM --sale",
                                              "schema",
                                              "rekey extra",
                                              "demo extra",
                                              "check --main --sale",
                                              "backup",
                                              "restore",
                                              "restore x --wait -1",
                                              "upgrade extra"};
  for (const std::string& args : badUsages) {
    RunResult result = run(args);
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_NE(result.err.find("Usage: qmxdb"), std::string::npos) << args << ": " << result.err;
  }

  // Before init a command fails instead of leaving an empty file that would stop init.
  for (const std::string& args : std::vector<std::string>{
           "sql \"select 1\"", "import CUSTOMER " + csv, "export ITEM", "count ITEM", "rekey"}) {
    RunResult early = run(args);
    EXPECT_EQ(early.status, 1) << args;
    EXPECT_NE(early.err.find("qmxdb init"), std::string::npos) << args << ": " << early.err;
  }
  EXPECT_FALSE(fs::exists(mainFile()));
  EXPECT_EQ(run("init").status, 0);
}

TEST_F(QmxdbTest, HelpGoesToStandardOutputWithStatusZero) {
  RunResult all = run("--help");
  EXPECT_EQ(all.status, 0);
  for (const char* command : {"init", "demo", "sql", "import", "export", "count", "schema", "rekey",
                              "version", "check", "backup", "restore", "upgrade"}) {
    EXPECT_NE(all.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    RunResult one = run(std::string(command) + " --help");
    EXPECT_EQ(one.status, 0) << command;
    EXPECT_NE(one.out.find(std::string("Usage: qmxdb ") + command), std::string::npos) << one.out;
  }
}

TEST_F(QmxdbTest, RekeySchemaAndCountWorkThroughTheLibrary) {
  // A plain installation file, as another installer might leave it, becomes the keyed one.
  fs::create_directories(folder_ / "db");
  qmxdb::createDatabaseFile(mainFile().wstring(), qmxdb::mainSchemaSql(), L"");
  qmxdb::createDatabaseFile(saleFile().wstring(), qmxdb::saleSchemaSql(), L"");
  EXPECT_EQ(run("count ITEM").status, 1);  // the library opens with the key only
  RunResult rekey = run("rekey");
  ASSERT_EQ(rekey.status, 0) << rekey.err;
  EXPECT_EQ(firstField(mainFile(), L"KRD1987", L"select count(*) from ITEM"), "0");
  EXPECT_THROW(firstField(mainFile(), L"", L"select count(*) from ITEM"), CppSQLite3Exception);
  EXPECT_EQ(run("rekey").status, 0);  // a keyed file stays as it is
  ASSERT_EQ(run("rekey --sale").status, 0);
  EXPECT_EQ(firstField(saleFile(), L"KRD1987", L"select count(*) from SALE_ORDER"), "0");

  {
    CppSQLite3DB db;
    db.open(mainFile().wstring().c_str(), L"KRD1987");
    db.execDML(L"insert into ITEM (UPC, ORG) values ('1', 'a'), ('2', 'a'), ('3', 'b');");
    db.close();
  }
  EXPECT_EQ(run("count ITEM").out, "3\n");
  EXPECT_EQ(run("count ITEM --where \"ORG='a'\"").out, "2\n");
  EXPECT_EQ(run("count SALE_ORDER").out, "0\n");  // found in the sales file without --sale
  EXPECT_EQ(run("count version --sale").out, "1\n");
  RunResult badWhere = run("count ITEM --where \"NO_SUCH_COLUMN=1\"");
  EXPECT_EQ(badWhere.status, 1);
  EXPECT_NE(badWhere.err.find("error 1: no such column: NO_SUCH_COLUMN"), std::string::npos)
      << badWhere.err;

  RunResult schema = run("schema SALE_ORDER_SUMMARY");
  ASSERT_EQ(schema.status, 0) << schema.err;
  EXPECT_EQ(schema.out.rfind("CREATE TABLE \"SALE_ORDER_SUMMARY\" (", 0), 0u) << schema.out;
  EXPECT_NE(schema.out.find("\"RETURN_INTEGRAL\""), std::string::npos);
  RunResult missing = run("schema NO_SUCH_TABLE");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("has no table NO_SUCH_TABLE"), std::string::npos) << missing.err;
}

}  // namespace
