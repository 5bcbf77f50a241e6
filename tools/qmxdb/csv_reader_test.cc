// The CSV reader and writer: fields come back exactly as written, and every row and every
// problem carries the line on which its row begins.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/qmxdb/csv_reader.h"
#include "tools/qmxdb/csv_writer.h"

namespace {

using Fields = std::vector<std::string>;

qmxdb::CsvText read(const std::string& text) {
  std::istringstream in(text);
  return qmxdb::readCsv(in);
}

TEST(CsvReaderTest, RowsKeepTheirFieldsAndTheLineTheyBeginOn) {
  const qmxdb::CsvText csv = read(
      "\xEF\xBB\xBF"
      "a,b,c\n"                                // 1: the byte order mark is dropped
      "\n"                                     // 2: blank lines are skipped
      " x , y ,\n"                             // 3: blanks kept, an empty last field
      "\"one\ntwo\",\"say \"\"hi\"\"\",3\r\n"  // 4-5: a quoted line break, CRLF
      "\r\n"                                   // 6
      "last,row,\"\"");                        // 7: no final line break
  ASSERT_TRUE(csv.problems.empty());
  ASSERT_EQ(csv.rows.size(), 4u);
  EXPECT_EQ(csv.rows[0].line, 1u);
  EXPECT_EQ(csv.rows[0].fields, (Fields{"a", "b", "c"}));
  EXPECT_EQ(csv.rows[1].line, 3u);
  EXPECT_EQ(csv.rows[1].fields, (Fields{" x ", " y ", ""}));
  EXPECT_EQ(csv.rows[2].line, 4u);
  EXPECT_EQ(csv.rows[2].fields, (Fields{"one\ntwo", "say \"hi\"", "3"}));
  EXPECT_EQ(csv.rows[3].line, 7u);
  EXPECT_EQ(csv.rows[3].fields, (Fields{"last", "row", ""}));
}

TEST(CsvReaderTest, AMalformedRowIsReportedAndReadingGoesOn) {
  const qmxdb::CsvText csv = read(
      "a,b\n"            // 1
      "bad\"quote,1\n"   // 2: a quote inside an unquoted field
      "2,\"ok\"\n"       // 3
      "\"closed\"x,3\n"  // 4: text after a closing quote
      "4,5\n"            // 5
      "\"never\n"        // 6: open to the end
      "closed,6\n");     // 7
  ASSERT_EQ(csv.rows.size(), 3u);
  EXPECT_EQ(csv.rows[1].line, 3u);
  EXPECT_EQ(csv.rows[1].fields, (Fields{"2", "ok"}));
  EXPECT_EQ(csv.rows[2].line, 5u);
  ASSERT_EQ(csv.problems.size(), 3u);
  EXPECT_EQ(csv.problems[0].line, 2u);
  EXPECT_EQ(csv.problems[1].line, 4u);
  EXPECT_EQ(csv.problems[2].line, 6u);
  EXPECT_NE(csv.problems[2].reason.find("not closed"), std::string::npos);
}

TEST(CsvReaderTest, WrittenRowsReadBackToTheSameFields) {
  const std::vector<Fields> rows = {
      {"plain", "", "comma, inside", "\"quoted\"", "line\nbreak", "cr\rhere", " blanks "},
      {""},
      {"", ""},
      {"caf\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87"},
  };
  std::ostringstream out;
  for (const Fields& row : rows) qmxdb::writeCsvRow(out, row);
  const std::string start = "plain,,\"comma, inside\",\"\"\"quoted\"\"\",\"line\nbreak\",";
  EXPECT_EQ(out.str().substr(0, start.size()), start);
  const qmxdb::CsvText csv = read(out.str());
  ASSERT_TRUE(csv.problems.empty());
  ASSERT_EQ(csv.rows.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(csv.rows[i].fields, rows[i]) << i;
}

}  // namespace
