// "qmxdb demo" on a fresh folder: it makes the files, runs the shop day through every record's
// data-access class, and a second run updates the same rows instead of adding more.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/qmxdb/tool_fixture.h"

namespace {

using qmxdb::test::RunResult;
using DemoTest = qmxdb::test::ToolTest;

// The "Rows per table" section of the demo's output.
std::string rowCounts(const std::string& out) {
  const std::size_t start = out.find("Rows per table");
  const std::size_t end = out.find("(9 rows)", start);
  return start == std::string::npos || end == std::string::npos ? ""
                                                                : out.substr(start, end - start);
}

TEST_F(DemoTest, RunsTwiceAndTheSecondDayUpdatesTheFirstDaysRows) {
  RunResult first = run("demo");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_TRUE(std::filesystem::exists(mainFile()));
  EXPECT_TRUE(std::filesystem::exists(saleFile()));
  const std::string counts = rowCounts(first.out);
  for (const char* line :
       {"MERCHANT_INFO      | QMX.db  | 3\n", "ITEM_TYPE          | QMX.db  | 3\n",
        "ITEM               | QMX.db  | 8\n", "ITEM_QTY           | QMX.db  | 8\n",
        "CUSTOMER           | QMX.db  | 3\n", "USER               | QMX.db  | 3\n",
        "PURCHASE_INFO      | QMX.db  | 8\n", "SALE_ORDER         | SALE.db | 10\n",
        "SALE_ORDER_SUMMARY | SALE.db | 5\n"}) {
    EXPECT_NE(counts.find(line), std::string::npos) << line << counts;
  }
  EXPECT_NE(first.out.find("The catalogue, page 1 of 2"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("takings 133.20 (after 9.50 refunded)"), std::string::npos) << first.out;

  RunResult second = run("demo");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(rowCounts(second.out), counts);
  EXPECT_NE(second.out.find("takings 133.20 (after 9.50 refunded)"), std::string::npos);
  // The evening's prices are stored, and every stored stock row adds up.
  EXPECT_EQ(run("export --query \"select SALE_PRICE from ITEM where UPC='6901000000028'\"").out,
            "SALE_PRICE\n6.5\n");
  EXPECT_EQ(run("count ITEM_QTY --where \"QTY <> PUR_NUM - SALE_NUM + SALE_RETURN\"").out, "0\n");
  EXPECT_EQ(run("count CUSTOMER --where \"CREATE_TIME = '' or UPDATE_TIME = ''\"").out, "0\n");
}

}  // namespace
