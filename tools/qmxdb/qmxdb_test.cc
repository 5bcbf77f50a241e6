// The qmxdb tool run as a program on real keyed files in a folder of its own: import and export
// of every record table, bad lines, reals and JSON; init, rekey, the reading commands and demo;
// bad usage and files missing or keyed otherwise; check, upgrade, backup and restore.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "testing/file_bytes.h"
#include "testing/host_system.h"
#include "tools/qmxdb/csv_reader.h"
#include "tools/qmxdb/csv_writer.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

namespace fs = std::filesystem;

namespace {

using qmxdao::test::quotedForShell;
using Rows = std::vector<std::vector<std::string>>;

std::string readFile(const fs::path& file) { return qmxdao::test::readFileBytes(file); }
void writeFile(const fs::path& file, const std::string& text) {
  qmxdao::test::writeFileBytes(file, text);
}

struct RunResult {
  int status = -1;
  std::string out, err;
};

// The tool works on the db folder beside its executable, so each test runs a copy of it (and, on
// Windows, of the DLLs beside it) in a fresh folder of its own.
class QmxdbTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("qmxdb_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    tool_ = folder_ / fs::path(QMXDB_BINARY).filename();
    fs::copy_file(QMXDB_BINARY, tool_);
#ifdef QMXDAO_DLL
    for (const auto& entry : fs::directory_iterator(fs::path(QMXDAO_DLL).parent_path())) {
      if (entry.path().extension() == ".dll")
        fs::copy_file(entry.path(), folder_ / entry.path().filename());
    }
#endif
    fs::permissions(tool_, fs::perms::owner_exec, fs::perm_options::add);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the copy with arguments already quoted for the command interpreter; its output with
  // "\n" line ends (Windows' C library writes "\r\n" in text mode).
  RunResult run(const std::string& args) {
    const fs::path out = folder_ / "stdout.txt", err = folder_ / "stderr.txt";
    RunResult result;
    result.status = qmxdao::test::runCommand(quotedForShell(tool_) + " " + args + " >" +
                                             quotedForShell(out) + " 2>" + quotedForShell(err));
    auto text = [](std::string bytes) {
      if (!qmxdao::test::kOnWindows) return bytes;
      for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.erase(at, 1);
      return bytes;
    };
    result.out = text(readFile(out));
    result.err = text(readFile(err));
    return result;
  }

  // A file in the test's folder, written with text; its path quoted for the command interpreter.
  std::string file(const std::string& name, const std::string& text) {
    writeFile(folder_ / name, text);
    return quotedForShell(folder_ / name);
  }
  fs::path mainFile() const { return folder_ / "db" / "QMX.db"; }
  fs::path saleFile() const { return folder_ / "db" / "SALE.db"; }

  fs::path folder_, tool_;
};
constexpr std::size_t kPage = 1024;

// The run ended with this status, and its output or error output holds the text.
testing::AssertionResult ends(const RunResult& run, int status, const std::string& text = "") {
  if (run.status == status && (run.out + run.err).find(text) != std::string::npos) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "status " << run.status << ":\n" << run.out << run.err;
}

// Runs statements in one connection to a keyed file; the first field the last one gives.
std::string onFile(const fs::path& file, const std::vector<const wchar_t*>& statements) {
  CppSQLite3DB db;
  db.open(file.wstring().c_str(), qmxdb::kDatabaseKey);
  db.setBusyTimeout(10000);  // another process may be saving
  std::wstring value;
  for (const wchar_t* sql : statements) {
    CppSQLite3Query query = db.execQuery(sql);
    value = query.eof() ? L"" : query.getStringField(0);
  }
  return std::string(value.begin(), value.end());
}

Rows csvRows(const std::string& text) {
  std::istringstream in(text);
  const qmxdb::CsvText csv = qmxdb::readCsv(in);
  EXPECT_TRUE(csv.problems.empty()) << text;
  Rows rows;
  for (const auto& row : csv.rows) rows.push_back(row.fields);
  return rows;
}

std::string csvText(const Rows& rows) {
  std::ostringstream out;
  for (const auto& row : rows) qmxdb::writeCsvRow(out, row);
  return out.str();
}

std::string itemsCsv(int first, int count) {
  std::string text = "UPC,ORG,ITEM_NAME,SALE_PRICE\n";
  for (int i = first; i < first + count; ++i) text += std::to_string(i) + ",shop,item,2.5\n";
  return text;
}

TEST(CsvTest, WrittenRowsReadBackToTheSameFields) {
  // A leading byte order mark is quoted, or a reader would drop it.
  const Rows rows = {{"\xEF\xBB\xBF", "", "comma, in", "\"quoted\"", "line\nbreak", "cr\rhere"},
                     {""},
                     {"", ""},
                     {" blanks ", "caf\xC3\xA9 \xE4\xB8\xAD"}};
  EXPECT_EQ(csvRows(csvText(rows)), rows);
}

class ImportExportTest : public QmxdbTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ImportExportTest, FileRoundTripsAndASecondImportUpdates) {
  const std::string table = GetParam();
  ASSERT_EQ(run("init").status, 0);
  const std::string query =
      " --query \"select name, type from pragma_table_info('" + table + "')\"";
  const Rows columns =
      csvRows(run((table.rfind("SALE_", 0) ? "export" : "export --sale") + query).out);
  ASSERT_GT(columns.size(), 10u);
  // Texts a careless reader or writer gets wrong, different in every row and column (so every
  // natural key is new); IDs 1..3 in file order, as every table numbers new rows.
  const std::string tricky[] = {" plain ",    "comma, in", "\"quoted\" \"\"",
                                "two\nlines", "tab\there", "caf\xC3\xA9 \xE4\xB8\xAD",
                                "it's"};
  Rows rows(4);
  for (std::size_t c = 1; c < columns.size(); ++c) {
    const std::string &name = columns[c][0], &type = columns[c][1];
    rows[0].push_back(name);
    for (int r = 1; r <= 3; ++r) {
      const int seed = r * 100 + static_cast<int>(c);
      const std::string sign = seed % 2 ? "-" : "";
      rows[r].push_back(name == "ID"        ? std::to_string(r)
                        : type == "INTEGER" ? sign + std::to_string(seed * 1000003)
                        : type == "REAL"    ? sign + std::to_string(seed) + ".25"
                        : name == "EXT10"
                            ? ""  // stored as NULL, written back empty
                            : tricky[seed % 7] + name + std::to_string(r) + tricky[seed % 7]);
    }
  }
  run("import " + table + " " + file("in.csv", csvText(rows)));
  const std::string exported = run("export " + table).out;
  const Rows back = csvRows(exported);
  ASSERT_EQ(back.size(), 4u) << exported;
  for (std::size_t c = 0; c < rows[0].size(); ++c) {
    if (rows[0][c] == "CREATE_TIME" || rows[0][c] == "UPDATE_TIME") continue;  // stamped on save
    for (std::size_t r = 0; r < 4; ++r) EXPECT_EQ(back[r][c], rows[r][c]) << table << " " << r;
  }
  // Imported again, the export finds every row by its natural key and changes nothing.
  EXPECT_TRUE(ends(run("import " + table + " " + file("out.csv", exported)), 0,
                   "read 3 rows, saved 3 (0 inserted, 3 matched"));
  EXPECT_EQ(run("export " + table).out, exported);
}

INSTANTIATE_TEST_SUITE_P(EveryRecordTable, ImportExportTest,
                         ::testing::Values("CUSTOMER", "ITEM", "ITEM_TYPE", "ITEM_QTY",
                                           "MERCHANT_INFO", "PURCHASE_INFO", "USER", "SALE_ORDER",
                                           "SALE_ORDER_SUMMARY"));

TEST_F(QmxdbTest, BadLinesAreReportedByLineWhileGoodOnesAreStoredOrUpdateInPlace) {
  ASSERT_TRUE(ends(run("init"), 0));
  run("import CUSTOMER " + file("old.csv", "ID,ORG,CUSTOMER_NAME\n7,shop,Kept"));  // no last \n
  // A byte order mark, CRLF, the header in another order than the table's, a blank line 6, text
  // after a closing quote on 13, the stored row updated on 14, and a quote left open on 15.
  RunResult result =
      run("import CUSTOMER --batch 2 " +
          file("new.csv",
               "\xEF\xBB\xBFSUBMIT,INTEGRAL,CUSTOMER_NAME,ORG,ID\r\n0,1.5, Ann ,shop,1\r\n"  // 1-2
               "too few fields,shop,2\n1,2,\"Bob\n  \"\"on\"\" two\",shop,3\n"               // 3-5
               "\n0,many,Cy,shop,4\n1.5,1,Di,shop,5\n0,1,Ed\"x\",shop,6\n"                   // 6-9
               "99999999999,1,Fay,shop,8\n0,1e39,Gus,shop,9\n,,Hal,shop,10\n"  // 10-12
               "0,4,\"Jo\"x,shop,11\n0,4.5,Kept,shop,7\n0,1,\"never,shop,12\nclosed"));
  for (const char* line :
       {"read 12 rows, saved 4 (3 inserted, 1 matched", "rejected 8",
        "line 3: 3 fields where the header names 5", "line 7: column INTEGRAL: \"many\"",
        "line 8: column SUBMIT: \"1.5\"", "line 9: malformed quoting",
        "line 10: column SUBMIT: 99999999999 does not fit", "line 11: column INTEGRAL",
        "line 13: malformed quoting", "line 15: a quoted field is not closed"}) {
    EXPECT_TRUE(ends(result, 1, line));
  }
  EXPECT_EQ(run("export --query \"select ID, CUSTOMER_NAME, INTEGRAL, SUBMIT from CUSTOMER "
                "order by ID\"")
                .out,
            "ID,CUSTOMER_NAME,INTEGRAL,SUBMIT\n1, Ann ,1.5,0\n3,\"Bob\n  \"\"on\"\" two\",2.0,1\n"
            "7,Kept,4.5,0\n10,Hal,0.0,0\n");
}

TEST_F(QmxdbTest, AHeaderThatDoesNotFitStoresNothingAndALargeFileGoesInBatches) {
  ASSERT_EQ(run("init").status, 0);
  for (const char* text : {"ORG,NO_SUCH_COLUMN\nshop,x\n", "ORG,ORG\nshop,x\n", "org,UPC\nshop,1\n",
                           "", "\n\n", "\"ORG,UPC\nshop,1\n"}) {
    EXPECT_TRUE(ends(run("import ITEM " + file("bad.csv", text)), 2, "bad.csv")) << text;
  }
  EXPECT_EQ(run("count ITEM").out, "0\n");

  RunResult result = run("import ITEM " + file("big.csv", itemsCsv(1, 6000)) + " --batch 1000");
  EXPECT_TRUE(ends(result, 0, "saved 6000 (6000 inserted"));
  EXPECT_TRUE(ends(result, 0, "] 100% 6000 rows"));
  // The export reads the table a page at a time: no row is lost or repeated between pages.
  const Rows all = csvRows(run("export ITEM").out);
  EXPECT_EQ(std::set<std::vector<std::string>>(all.begin(), all.end()).size(), 6001u);
  EXPECT_EQ(csvRows(run("export ITEM --where \"ID > 5998\"").out).size(), 3u);
}

TEST_F(QmxdbTest, ExportKeepsExactRealsNullJsonTypesAndTheQueryOrder) {
  ASSERT_EQ(run("init").status, 0);
  run("import MERCHANT_INFO " + file("m.csv", "GUID,NAME,ORG\ng-1,\"A, \"\"B\"\"\",s\ng-2,,s\n"));
  // Reals written by the application's own SQL, with more digits than the engine's text keeps.
  run("sql \"insert into ITEM (ID, UPC, ORG, SALE_PRICE, PUR_PRICE, MEM_PRICE) values "
      "(1, 'u1', 'shop', 3.141592653589793, 1e-7, 1234567.891)\"");
  EXPECT_EQ(
      run("export --query \"select ID, SALE_PRICE, PUR_PRICE, MEM_PRICE, UPC from ITEM\"").out,
      "ID,SALE_PRICE,PUR_PRICE,MEM_PRICE,UPC\n1,3.141592653589793,1e-07,1234567.891,u1\n");
  EXPECT_EQ(run("export --format json --query \"select GUID, NAME, ITEM.ID, PUR_PRICE, "
                "ITEM.SUBMIT from MERCHANT_INFO, ITEM order by GUID\"")
                .out,
            "[\n  {\"GUID\":\"g-1\",\"NAME\":\"A, \\\"B\\\"\",\"ID\":1,\"PUR_PRICE\":1e-07,"
            "\"SUBMIT\":null},\n  {\"GUID\":\"g-2\",\"NAME\":null,\"ID\":1,\"PUR_PRICE\":1e-07,"
            "\"SUBMIT\":null}\n]\n");  // the batch save stores "" as NULL
  EXPECT_EQ(run("export --format json --query \"select 1 where 0\"").out, "[]\n");
  // A single empty field is quoted, or the row would read back as a blank line.
  EXPECT_EQ(run("export --query \"select NAME from MERCHANT_INFO where GUID='g-2'\"").out,
            "NAME\n\"\"\n");
  // Imported again, every row is found by its key with the same values, reals included.
  const std::string items = run("export ITEM").out;
  run("import ITEM " + file("items.csv", items));
  EXPECT_EQ(run("export ITEM").out, items);
}

TEST_F(QmxdbTest, InitMakesKeyedFilesOnceRekeyKeysPlainOnesAndReadsFindTheRightFile) {
  ASSERT_TRUE(ends(run("init"), 0));
  EXPECT_TRUE(ends(run("version --sale"), 0, "1.0.0\n"));  // the library opens with the key only
  // With one of the files present init refuses and writes nothing.
  const std::string mainBytes = readFile(mainFile());
  fs::remove(saleFile());
  EXPECT_TRUE(ends(run("init"), 1, "exists already"));
  EXPECT_FALSE(fs::exists(saleFile()));
  EXPECT_EQ(readFile(mainFile()), mainBytes);
  // A zero-byte file, which every library call refuses, holds nothing: init fills it.
  fs::resize_file(mainFile(), 0);
  EXPECT_TRUE(ends(run("version"), 1, "error 26: file is not a database"));
  EXPECT_EQ(fs::file_size(mainFile()), 0u);
  EXPECT_TRUE(ends(run("init"), 0));
  EXPECT_TRUE(ends(run("version"), 0, "1.0.0\n"));
  fs::remove(saleFile());

  // Plain files, as another installer might leave them, get the key; a keyed one stays as it is.
  fs::remove(mainFile());
  qmxdb::createDatabaseFile(mainFile().wstring(), qmxdb::mainSchemaSql(), L"");
  qmxdb::createDatabaseFile(saleFile().wstring(), qmxdb::saleSchemaSql(), L"");
  for (const char* rekey : {"rekey", "rekey", "rekey --sale"}) EXPECT_TRUE(ends(run(rekey), 0));
  // Columns in the query's order, padded to the widest cell.
  EXPECT_EQ(run("sql \"select 'a' as x, 'bcd' as name union all select 'efgh', 'i'\"").out,
            "x    | name\n-----+-----\na    | bcd\nefgh | i\n(2 rows)\n");
  run("sql \"insert into ITEM (UPC, ORG) values ('1', 'a'), ('2', 'a'), ('3', 'b')\"");
  EXPECT_EQ(run("count ITEM").out + run("count ITEM --where \"ORG='a'\"").out, "3\n2\n");
  EXPECT_EQ(run("count SALE_ORDER").out, "0\n");  // found in the sales file without --sale
  EXPECT_TRUE(ends(run("sql \"select * from SALE_ORDER\""), 1, "error 1: no such table"));
  EXPECT_TRUE(ends(run("schema SALE_ORDER_SUMMARY"), 0, "CREATE TABLE \"SALE_ORDER_SUMMARY\" ("));
}

TEST_F(QmxdbTest, BadUsageExitsTwoAndFilesMissingOrNotOpeningAreLeftAlone) {
  const std::string csv = file("c.csv", "ORG\nshop\n");
  for (const std::string& args : std::vector<std::string>{
           "", "nonsense", "import NO_SUCH_TABLE " + csv, "import ITEM /no/such.csv",
           "export ITEM --query \"select 1\"", "export --query x --where ID=1", "count ITEM --sale",
           "check --main --sale", "restore x --wait -1"}) {
    EXPECT_TRUE(ends(run(args), 2, "Usage: qmxdb")) << args;
  }
  EXPECT_TRUE(ends(run("--help"), 0, "Usage: qmxdb"));
  // Each command fails before init, then on a file keyed with another key and on one that is no
  // database; none leaves a file behind or writes through the other key.
  std::vector<std::string> commands = {"sql \"select 1 from ITEM\"", "version --sale",
                                       "export ITEM", "count ITEM", "rekey"};
  for (const char* table : {" CUSTOMER ", " SALE_ORDER_SUMMARY "})
    commands.push_back("import" + (table + csv));
  for (const std::string& args : commands) EXPECT_TRUE(ends(run(args), 1, "qmxdb init")) << args;
  EXPECT_FALSE(fs::exists(mainFile()) || fs::exists(saleFile()));
  fs::create_directories(folder_ / "db");
  qmxdb::createDatabaseFile(mainFile().wstring(), qmxdb::mainSchemaSql(), L"another key");
  writeFile(saleFile(), std::string(4096, 'x'));
  const std::string mainBytes = readFile(mainFile());
  commands.push_back("demo");
  for (const std::string& args : commands) {
    EXPECT_TRUE(ends(run(args), 1, "error 26: file is not a database")) << args;
  }
  EXPECT_EQ(readFile(mainFile()), mainBytes);
}

TEST_F(QmxdbTest, DemoRunsTwiceAndTheSecondDayUpdatesTheFirstDaysRows) {
  auto rowCounts = [](const std::string& out) {
    const std::size_t start = out.find("Rows per table");
    return start == std::string::npos ? "" : out.substr(start, out.find("(9 rows)") - start);
  };
  RunResult first = run("demo");
  EXPECT_TRUE(ends(first, 0, "takings 133.20 (after 9.50 refunded)"));
  const std::string counts = rowCounts(first.out);
  // Every table has rows, the sales file its summaries.
  EXPECT_NE(counts.find("SALE_ORDER_SUMMARY | SALE.db | 5\n"), std::string::npos) << counts;
  EXPECT_EQ(counts.find("| 0\n"), std::string::npos) << counts;
  RunResult second = run("demo");
  EXPECT_TRUE(ends(second, 0, "takings 133.20 (after 9.50 refunded)"));
  EXPECT_EQ(rowCounts(second.out), counts);
  // The evening's prices are stored, and every stored stock row adds up.
  EXPECT_EQ(run("export --query \"select SALE_PRICE from ITEM where UPC='6901000000028'\"").out,
            "SALE_PRICE\n6.5\n");
  EXPECT_EQ(run("count ITEM_QTY --where \"QTY <> PUR_NUM - SALE_NUM + SALE_RETURN\"").out, "0\n");
}

TEST_F(QmxdbTest, CheckTellsEveryKindOfDamageApartAndUpgradeAddsMissingIndexesOnce) {
  ASSERT_TRUE(ends(run("demo"), 0));
  EXPECT_TRUE(ends(run("check"), 0, "Both files are sound."));
  EXPECT_EQ(run("check --json --sale").out.rfind("{\n  \"sound\": true,", 0), 0u);

  const std::string bytes = readFile(mainFile());
  std::string flipped = bytes;
  const std::size_t middle = bytes.size() / kPage / 2;
  flipped[middle * kPage + 100] ^= 0x01;  // inside a page's encrypted content
  std::vector<std::string> keyed;         // with another key, then with none
  for (const wchar_t* key : {L"another key", L""}) {
    const fs::path other = folder_ / (std::to_string(keyed.size()) + ".db");
    qmxdb::createDatabaseFile(other.wstring(), qmxdb::mainSchemaSql(), key);
    keyed.push_back(readFile(other));
  }
  // The key fits, but the schema holds a statement that does not parse.
  onFile(mainFile(), {L"PRAGMA writable_schema=ON;",
                      L"update sqlite_master set sql='CREATE TABLE broken(' where name='USER';"});
  for (const auto& [file, finding] : std::vector<std::pair<std::string, std::string>>{
           {flipped, "HMAC verification failed for page " + std::to_string(middle + 1)},
           {bytes.substr(0, bytes.size() / 2 + 300), "invalid size of 300 bytes"},
           {keyed[0], "another key, or not a database file"},
           {keyed[1], "a plain SQLite file"},
           {"", "an empty file"},
           {readFile(mainFile()), "the key fits, but the schema cannot be read"}}) {
    writeFile(mainFile(), file);
    RunResult damaged = run("check --main");
    EXPECT_TRUE(ends(damaged, 1, finding));
    EXPECT_TRUE(ends(damaged, 1, "NOT SOUND"));
  }
  // Files of an older installation lack indexes; upgrade adds them in place and then rests.
  writeFile(mainFile(), bytes);
  run("sql \"DROP INDEX IDX_ITEM_UPC_ORG\"");
  run("sql --sale \"DROP INDEX IDX_SALE_ORDER_RAND_ID_UPC\"");
  EXPECT_TRUE(ends(run("check --main --json"), 1, "\"detail\": \"missing ITEM (UPC, ORG)\""));
  const std::string before = run("export ITEM").out + run("export SALE_ORDER").out;
  RunResult upgrade = run("upgrade");
  EXPECT_TRUE(ends(upgrade, 0, "QMX.db: added index IDX_ITEM_UPC_ORG on ITEM (UPC, ORG)"));
  EXPECT_TRUE(ends(upgrade, 0, "SALE.db: added index"));
  EXPECT_TRUE(ends(run("check"), 0));
  EXPECT_EQ(run("export ITEM").out + run("export SALE_ORDER").out, before);
  EXPECT_EQ(run("upgrade").out,
            "QMX.db: up to date, nothing to do\nSALE.db: up to date, nothing to do\n");
}

TEST_F(QmxdbTest, BackupWhileAnotherProcessSavesRestoresExactlyItsRows) {
#ifdef _WIN32
  GTEST_SKIP() << "forks the writing process and runs the tool through a POSIX shell";
#else
  ASSERT_TRUE(ends(run("init"), 0));
  ASSERT_TRUE(ends(run("import ITEM " + file("batch.csv", itemsCsv(1, 2000))), 0));
  auto itemRows = [](const fs::path& file) {
    return onFile(file, {L"select count(*) || ':' || group_concat(ID || '/' || UPC) from ITEM"});
  };
  // Another process saves batches of 100 new items until told to stop.
  const fs::path stop = folder_ / "stop";
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    for (int round = 1; round < 200 && !fs::exists(stop); ++round) {
      writeFile(folder_ / "more.csv", itemsCsv(round * 10000, 500));
      const std::string command = "'" + tool_.string() + "' import ITEM '" +
                                  (folder_ / "more.csv").string() + "' --batch 100 >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) _exit(1);
    }
    _exit(0);
  }
  while (itemRows(mainFile()).rfind("2000:", 0) == 0) usleep(10000);
  const std::string copies = "'" + (folder_ / "copy").string() + "'";
  RunResult backup = run("backup " + copies);
  writeFile(stop, "");
  int status = 0;
  waitpid(writer, &status, 0);
  ASSERT_TRUE(ends(backup, 0, "verified"));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer failed";
  EXPECT_TRUE(ends(run("backup " + copies), 1, "--force"));  // no copy is replaced without it

  // The copy holds whole batches only, and restoring it gives back exactly its rows.
  const std::string copied = itemRows(folder_ / "copy" / "QMX.db");
  EXPECT_EQ(std::stoi(copied) % 100, 0) << copied.substr(0, 20);
  EXPECT_NE(itemRows(mainFile()), copied) << "the writer saved nothing after the copy";
  ASSERT_TRUE(ends(run("restore " + copies), 0));
  EXPECT_EQ(itemRows(mainFile()), copied);
  EXPECT_TRUE(fs::exists(folder_ / "db" / "QMX.db.before-restore"));
  EXPECT_TRUE(ends(run("check"), 0));

  // A busy file is waited for, then left alone; so is everything when a copy is damaged.
  const std::string mainBytes = readFile(mainFile()), saleBytes = readFile(saleFile());
  {
    CppSQLite3DB holder;
    holder.open(mainFile().wstring().c_str(), qmxdb::kDatabaseKey);
    holder.execDML(L"begin exclusive transaction;");
    EXPECT_TRUE(ends(run("restore " + copies + " --main --wait 1"), 1, "in use by another"));
  }
  std::string damaged = readFile(folder_ / "copy" / "SALE.db");
  damaged[damaged.size() - kPage + 200] ^= 0x10;
  writeFile(folder_ / "copy" / "SALE.db", damaged);
  EXPECT_TRUE(ends(run("restore " + copies), 1, "Nothing was restored."));
  EXPECT_EQ(readFile(mainFile()), mainBytes);
  EXPECT_EQ(readFile(saleFile()), saleBytes);
#endif
}

}  // namespace
