// The README's code sample is examples/consumer/main.cc, which CI builds and runs against an
// installed tree; this keeps the README's copy from drifting away from the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/file_bytes.h"

TEST(ReadmeSampleTest, TheReadmeShowsTheConsumerExampleAsItIs) {
  const std::filesystem::path source = QMXDAO_SOURCE_DIR;
  const std::string readme = qmxdao::test::readFileBytes(source / "README.md");
  const std::string sample =
      qmxdao::test::readFileBytes(source / "examples" / "consumer" / "main.cc");
  const std::size_t start = readme.find("```cpp\n") + 7;
  ASSERT_TRUE(start > 7 && !sample.empty());
  EXPECT_EQ(readme.substr(start, readme.find("```\n", start) - start), sample);
}
