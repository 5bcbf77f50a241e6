// The suite's main: the engine is set up once for the process, as the application does with
// InitDB before its first database call and QuitDB after its last.
#include <gtest/gtest.h>

#include "qmxdao/storage/Utility.h"

namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { QMXDAO::Utility::InitDB(); }
  void TearDown() override { QMXDAO::Utility::QuitDB(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new EngineEnvironment);
  return RUN_ALL_TESTS();
}
