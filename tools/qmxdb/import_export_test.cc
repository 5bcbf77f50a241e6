// "qmxdb import" and "qmxdb export" on every record table: a file goes in through the record's
// batch save and comes out as the same rows, a second import updates instead of adding, and bad
// lines are reported by line number while the good ones are stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "tools/qmxdb/csv_reader.h"
#include "tools/qmxdb/csv_writer.h"
#include "tools/qmxdb/tool_fixture.h"

namespace {

using qmxdb::test::RunResult;

struct TableColumn {
  std::string name;
  std::string type;  // INTEGER, REAL or TEXT, as the installation schema declares it
};

// The table's columns as the installation's schema declares them, read straight from the file.
std::vector<TableColumn> schemaColumns(const std::filesystem::path& file,
                                       const std::string& table) {
  CppSQLite3DB db;
  db.open(file.wstring().c_str(), L"KRD1987");
  const std::wstring sql = L"PRAGMA table_info(" + std::wstring(table.begin(), table.end()) + L")";
  CppSQLite3Query query = db.execQuery(sql.c_str());
  std::vector<TableColumn> columns;
  for (; !query.eof(); query.nextRow()) {
    std::wstring name = query.getStringField(1, L"");
    std::wstring type = query.getStringField(2, L"");
    columns.push_back(
        {std::string(name.begin(), name.end()), std::string(type.begin(), type.end())});
  }
  query.finalize();
  db.close();
  return columns;
}

// Values that a careless CSV reader or writer gets wrong, different in every row and column (so
// that every natural key is new), with IDs 1..rows in file order: every table numbers a new row
// that way, whether it takes the ID given, the largest plus one or its own.
std::vector<std::vector<std::string>> sampleRows(const std::vector<TableColumn>& columns,
                                                 int rows) {
  std::vector<std::vector<std::string>> out;
  for (int row = 1; row <= rows; ++row) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const TableColumn& column = columns[c];
      const int seed = row * 100 + static_cast<int>(c);
      char number[32];
      if (column.name == "ID") {
        cells.push_back(std::to_string(row));
      } else if (column.type == "INTEGER") {
        cells.push_back(std::to_string(seed % 2 == 0 ? seed * 1000003 : -seed));
      } else if (column.type == "REAL") {
        std::snprintf(number, sizeof number, "%.2f", (seed % 2 == 0 ? 1 : -1) * (seed + 0.25));
        cells.push_back(number);
      } else if (column.name == "EXT10") {
        cells.push_back("");  // stored as NULL, written back empty
      } else {
        const char* tricky[] = {"plain",      "comma, inside", "\"quoted\" twice \"\"",
                                "two\nlines", "tab\there",     "caf\xC3\xA9 \xE4\xB8\xAD",
                                "it's"};
        std::string text = column.name + " " + std::to_string(row) + " " + tricky[seed % 7];
        cells.push_back(seed % 5 == 0 ? " " + text + " " : text);  // blanks at both ends kept
      }
    }
    out.push_back(cells);
  }
  return out;
}

std::string csvText(const std::vector<std::string>& header,
                    const std::vector<std::vector<std::string>>& rows) {
  std::ostringstream out;
  qmxdb::writeCsvRow(out, header);
  for (const auto& row : rows) qmxdb::writeCsvRow(out, row);
  return out.str();
}

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::istringstream in(text);
  qmxdb::CsvText csv = qmxdb::readCsv(in);
  EXPECT_TRUE(csv.problems.empty()) << text;
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : csv.rows) rows.push_back(row.fields);
  return rows;
}

class ImportExportTest : public qmxdb::test::ToolTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(ImportExportTest, FileRoundTripsAndASecondImportUpdates) {
  const std::string table = GetParam();
  ASSERT_EQ(run("init").status, 0);
  const bool sale = table.rfind("SALE_", 0) == 0;
  const std::vector<TableColumn> columns = schemaColumns(sale ? saleFile() : mainFile(), table);
  ASSERT_GT(columns.size(), 10u);
  std::vector<std::string> header;
  for (const TableColumn& column : columns) header.push_back(column.name);
  const auto rows = sampleRows(columns, 3);
  const std::string in = file("in.csv", csvText(header, rows));

  RunResult first = run("import " + table + " " + in);
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_NE(first.out.find("read 3 rows, saved 3 (3 inserted, 0 matched"), std::string::npos)
      << first.out;

  RunResult exported = run("export " + table);
  ASSERT_EQ(exported.status, 0) << exported.err;
  const auto back = csvRows(exported.out);
  ASSERT_EQ(back.size(), 4u) << exported.out;
  EXPECT_EQ(back[0], header);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < header.size(); ++c) {
      // The batch save stamps the time texts of new rows, by each record's own rule.
      if (header[c] == "CREATE_TIME" || header[c] == "UPDATE_TIME") continue;
      EXPECT_EQ(back[r + 1][c], rows[r][c]) << table << " row " << r + 1 << " " << header[c];
    }
  }

  // The exported file imported again finds every row by its natural key: nothing is added, and
  // what the rows hold (time texts included) stays as it was.
  RunResult second = run("import " + table + " " + file("out.csv", exported.out));
  ASSERT_EQ(second.status, 0) << second.out << second.err;
  EXPECT_NE(second.out.find("read 3 rows, saved 3 (0 inserted, 3 matched"), std::string::npos)
      << second.out;
  EXPECT_NE(second.out.find("3 before, 3 after"), std::string::npos) << second.out;
  EXPECT_EQ(run("export " + table).out, exported.out);
  EXPECT_EQ(run("count " + table).out, "3\n");
}

INSTANTIATE_TEST_SUITE_P(EveryRecordTable, ImportExportTest,
                         ::testing::Values("CUSTOMER", "ITEM", "ITEM_TYPE", "ITEM_QTY",
                                           "MERCHANT_INFO", "PURCHASE_INFO", "USER", "SALE_ORDER",
                                           "SALE_ORDER_SUMMARY"));

using ImportTest = qmxdb::test::ToolTest;

TEST_F(ImportTest, ChangedRowsUpdateInPlaceAndColumnsLeftOutKeepDefaults) {
  ASSERT_EQ(run("init").status, 0);
  ASSERT_EQ(run("import ITEM " + file("a.csv",
                                      "UPC,ORG,ITEM_NAME,SALE_PRICE\n"
                                      "690001,shop,Tea,3.5\n"
                                      "690002,shop,Coffee,7.25\n"))
                .status,
            0);
  // Another column order, one price changed, one row unchanged, one new.
  RunResult again = run("import ITEM " + file("b.csv",
                                              "SALE_PRICE,ITEM_NAME,ORG,UPC\n"
                                              "3.75,Tea,shop,690001\n"
                                              "7.25,Coffee,shop,690002\n"
                                              "1.5,Water,shop,690003\n"));
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.out.find("saved 3 (1 inserted, 2 matched"), std::string::npos) << again.out;
  EXPECT_EQ(run("export --query \"select ID, UPC, SALE_PRICE, SUBMIT, ITEM_TYPE_ID from ITEM "
                "order by ID\"")
                .out,
            "ID,UPC,SALE_PRICE,SUBMIT,ITEM_TYPE_ID\n"
            "1,690001,3.75,0,0\n"
            "2,690002,7.25,0,0\n"
            "3,690003,1.5,0,0\n");
}

TEST_F(ImportTest, BadLinesAreReportedByLineAndTheGoodOnesStored) {
  ASSERT_EQ(run("init").status, 0);
  ASSERT_EQ(run("import CUSTOMER " + file("old.csv", "ID,ORG,CUSTOMER_NAME\n7,shop,Kept\n")).status,
            0);

  RunResult result = run("import CUSTOMER " + file("new.csv",
                                                   "ID,ORG,CUSTOMER_NAME,INTEGRAL,SUBMIT\n"  // 1
                                                   "1,shop,Ann,1.5,0\n"                      // 2
                                                   "2,shop,too few fields\n"                 // 3
                                                   "3,shop,\"Bob\n"                          // 4
                                                   "  on two lines\",2,1\n"                  // 5
                                                   "\n"                                      // 6
                                                   "4,shop,Cy,many,0\n"                      // 7
                                                   "5,shop,Di,1,1.5\n"                       // 8
                                                   "6,shop,Ed\"x\",1,0\n"                    // 9
                                                   "8,shop,Fay,1,99999999999\n"              // 10
                                                   "9,shop,Gus,1e39,0\n"                     // 11
                                                   "10,shop,Hal,,\n"));                      // 12
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.out.find("read 9 rows, saved 3 (3 inserted, 0 matched"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("rejected 6"), std::string::npos) << result.out;
  for (const char* line :
       {"line 3: 3 fields where the header names 5", "line 7: column INTEGRAL: \"many\"",
        "line 8: column SUBMIT: \"1.5\"", "line 9: malformed quoting",
        "line 10: column SUBMIT: 99999999999 does not fit", "line 11: column INTEGRAL"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
  }
  EXPECT_EQ(run("export --query \"select ID, CUSTOMER_NAME, INTEGRAL, SUBMIT from CUSTOMER "
                "order by ID\"")
                .out,
            "ID,CUSTOMER_NAME,INTEGRAL,SUBMIT\n"
            "1,Ann,1.5,0\n"
            "3,\"Bob\n  on two lines\",2.0,1\n"
            "7,Kept,0.0,0\n"
            "10,Hal,0.0,0\n");
}

TEST_F(ImportTest, AHeaderThatDoesNotFitStopsBeforeAnythingIsStored) {
  ASSERT_EQ(run("init").status, 0);
  for (const char* text : {"ORG,NO_SUCH_COLUMN\nshop,x\n", "ORG,ORG\nshop,x\n", "org,UPC\nshop,1\n",
                           "", "\n\n", "\"ORG,UPC\nshop,1\n"}) {
    RunResult result = run("import ITEM " + file("bad.csv", text));
    EXPECT_EQ(result.status, 2) << text;
    EXPECT_NE(result.err.find("bad.csv"), std::string::npos) << result.err;
  }
  EXPECT_EQ(run("count ITEM").out, "0\n");
}

TEST_F(ImportTest, ALargeFileGoesInBatchesWithAProgressBar) {
  ASSERT_EQ(run("init").status, 0);
  std::string text = "UPC,ORG,ITEM_NAME,SALE_PRICE\n";
  for (int i = 1; i <= 6000; ++i) {
    text += "69" + std::to_string(1000000 + i) + ",shop,item " + std::to_string(i) + ",2.5\n";
  }
  RunResult result = run("import ITEM " + file("big.csv", text) + " --batch 1000");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("saved 6000 (6000 inserted"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("] 100% 6000 rows"), std::string::npos) << result.err;
  EXPECT_EQ(run("count ITEM --where \"ITEM_NAME='item 6000' and ID=6000\"").out, "1\n");
}

TEST_F(ImportTest, ExportFormats) {
  ASSERT_EQ(run("init").status, 0);
  ASSERT_EQ(run("import MERCHANT_INFO " +
                file("m.csv", "GUID,NAME,ORG\ng-1,\"Farm, \"\"Green\"\"\",shop\ng-2,,shop\n"))
                .status,
            0);
  RunResult json =
      run("export --format json --query \"select GUID, NAME from MERCHANT_INFO "
          "order by GUID\"");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out,
            "[\n"
            "  {\"GUID\":\"g-1\",\"NAME\":\"Farm, \\\"Green\\\"\"},\n"
            "  {\"GUID\":\"g-2\",\"NAME\":null}\n"  // the batch save stores "" as NULL
            "]\n");
  EXPECT_EQ(run("export --format json --query \"select 1 where 0\"").out, "[]\n");
  RunResult table = run("export MERCHANT_INFO --where \"GUID='g-2'\" --format table");
  EXPECT_EQ(table.out.rfind("ID ", 0), 0u) << table.out;
  EXPECT_NE(table.out.find("| g-2 "), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("(1 row)"), std::string::npos) << table.out;
  // A single empty field is quoted, or the row would read back as a blank line.
  EXPECT_EQ(run("export --query \"select NAME from MERCHANT_INFO where GUID='g-2'\"").out,
            "NAME\n\"\"\n");
  EXPECT_EQ(run("export SALE_ORDER").out.substr(0, 3), "ID,");  // found in the sales file
}

}  // namespace

TEST_F(ImportTest, RealsReadBackExactlyColumnsKeepTheQueryOrderAndJsonKeepsTypes) {
  ASSERT_EQ(run("init").status, 0);
  // Reals written by the application's own SQL, with more digits than the engine's text keeps.
  ASSERT_EQ(run("sql \"insert into ITEM (ID, UPC, ORG, SALE_PRICE, PUR_PRICE, MEM_PRICE) values "
                "(1, 'u1', 'shop', 3.141592653589793, 1e-7, 1234567.891)\"")
                .status,
            0);
  RunResult csv =
      run("export --query \"select ID, SALE_PRICE, PUR_PRICE, MEM_PRICE, UPC from ITEM\"");
  EXPECT_EQ(csv.out,
            "ID,SALE_PRICE,PUR_PRICE,MEM_PRICE,UPC\n"
            "1,3.141592653589793,1e-07,1234567.891,u1\n");
  // Each text reads back to the very double stored.
  EXPECT_EQ(run("count ITEM --where \"SALE_PRICE = 3.141592653589793 and PUR_PRICE = 1e-07 and "
                "MEM_PRICE = 1234567.891\"")
                .out,
            "1\n");
  EXPECT_EQ(run("export --format json --query \"select ID, SALE_PRICE, PUR_PRICE, UPC, "
                "ITEM_NAME, SUBMIT from ITEM\"")
                .out,
            "[\n  {\"ID\":1,\"SALE_PRICE\":3.141592653589793,\"PUR_PRICE\":1e-07,\"UPC\":\"u1\","
            "\"ITEM_NAME\":null,\"SUBMIT\":null}\n]\n");
  EXPECT_EQ(run("sql \"select UPC, ID from ITEM\"").out, "UPC | ID\n----+---\nu1  | 1\n(1 row)\n");

  // Imported again, every row is found by its natural key with the same values, so the export
  // that follows is the same text, reals included.
  const std::string exported = run("export ITEM").out;
  ASSERT_EQ(run("import ITEM " + file("items.csv", exported)).status, 0);
  EXPECT_EQ(run("export ITEM").out, exported);
}
