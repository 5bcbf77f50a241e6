// The suite's main: the engine is set up once for the process, as the application does with
// InitDB before its first database call and QuitDB after its last.
#include <gtest/gtest.h>

#include "qmxdao/storage/Utility.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QMXDAO::Utility::InitDB();
  const int failed = RUN_ALL_TESTS();
  QMXDAO::Utility::QuitDB();
  return failed;
}
