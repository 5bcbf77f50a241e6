// The README's code sample is examples/consumer/main.cc, which CI builds and runs against an
// installed tree; this keeps the copy in the README from drifting away from the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/qmxdb/tool_fixture.h"

namespace {

TEST(ReadmeSampleTest, TheReadmeShowsTheConsumerExampleAsItIs) {
  const std::filesystem::path source = QMXDAO_SOURCE_DIR;
  const std::string readme = qmxdb::test::readFile(source / "README.md");
  const std::string sample = qmxdb::test::readFile(source / "examples" / "consumer" / "main.cc");
  ASSERT_FALSE(sample.empty());
  const std::string open = "```cpp\n";
  const std::size_t start = readme.find(open);
  ASSERT_NE(start, std::string::npos);
  const std::size_t end = readme.find("```\n", start + open.size());
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(readme.substr(start + open.size(), end - start - open.size()), sample);
}

}  // namespace
