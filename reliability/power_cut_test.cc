// Power cut: the db folder as the disk holds it when the power goes, which is each file as of its
// last sync and the folder's entries as of the folder's last sync (the preloaded file layer keeps
// that image). A child saves batches of customers; images are taken after sampled syncs through
// the saves and right after the last save returned. Each image opens, passes the integrity check,
// holds every batch whose save returned and no part of a batch.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "reliability/child_process.h"
#include "reliability/fault_helpers.h"
#include "storage/platform.h"
#include "testing/temp_shop.h"

namespace {

namespace fs = std::filesystem;
using qmxdao::test::TempShop;

constexpr int kBatches = 3;
constexpr int kBatchSize = 300;

// The child: saves the batches, noting each one that returned, then writes the image of the folder
// as it is right after the last save returned.
TEST(PowerCut, DISABLED_Child) {
  const char* host = std::getenv("QMXDAO_CHILD_HOST");
  ASSERT_NE(host, nullptr);
  qmxdao::platform::setHostFolderForTesting(fs::path(host).wstring() + L"/");
  for (int batch = 1; batch <= kBatches; ++batch) {
    ASSERT_TRUE(QMXDAO::CustomerDAOImpl().save(qmxdao::test::customerBatch(batch, kBatchSize)));
    qmxdao::test::writeText(fs::path(host) / "acknowledged", std::to_string(batch));
  }
  reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "qmxdao_shim_write_image"))();
  reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "qmxdao_shim_disarm"))();
}

// Runs the child on a fresh installation, cut after sync cutAt (0: no cut); returns the count of
// saves that returned before the image was taken.
int runCut(const TempShop& shop, const fs::path& pristine, const fs::path& image, long cutAt) {
  for (const fs::path& folder : {shop.dbFolder(), shop.folder() / "shadow", image}) {
    fs::remove_all(folder);
  }
  fs::copy(pristine, shop.dbFolder());
  fs::create_directories(shop.folder() / "shadow");
  fs::create_directories(image);
  qmxdao::test::writeText(shop.folder() / "acknowledged", "0");
  qmxdao::test::Environment settings = {{"QMXDAO_CHILD_HOST", shop.folder().string()},
                                        {"QMXDAO_SHIM_DIR", shop.dbFolder().string() + "/"},
                                        {"QMXDAO_SHIM_COUNTS", (shop.folder() / "counts").string()},
                                        {"QMXDAO_CUT_SHADOW", (shop.folder() / "shadow").string()},
                                        {"QMXDAO_CUT_IMAGE", image.string()},
                                        {"QMXDAO_CUT_AT", std::to_string(cutAt)}};
  EXPECT_EQ(qmxdao::test::runChild("PowerCut.DISABLED_Child", settings), 0);
  return std::stoi(qmxdao::test::readText(shop.folder() / "acknowledged"));
}

// Checks the image in imageHost/db: sound, every acknowledged batch whole, nothing half-stored.
void checkImage(const fs::path& imageHost, int acknowledged) {
  qmxdao::platform::setHostFolderForTesting(imageHost.wstring() + L"/");
  EXPECT_EQ(qmxdao::test::integrityCheck(), L"ok");
  for (int batch = 1; batch <= kBatches; ++batch) {
    long long rows = QMXDAO::Utility::GetItemCount(
        L"CUSTOMER", L"EXT1='" + std::to_wstring(batch) + L"'", QMXDAO::DBNAME_MAIN);
    if (batch <= acknowledged) {
      EXPECT_EQ(rows, kBatchSize) << "batch " << batch << " was acknowledged";
    } else {
      EXPECT_TRUE(rows == 0 || (rows == kBatchSize && batch == acknowledged + 1))
          << "batch " << batch << ": " << rows << " rows";
    }
  }
}

TEST(PowerCut, EveryImageHoldsTheAcknowledgedBatchesWhole) {
  TempShop shop(TempShop::Layout::kInstalled);
  const fs::path pristine = shop.folder() / "pristine";
  fs::copy(shop.dbFolder(), pristine);
  const fs::path imageHost = shop.folder() / "image";
  const fs::path image = imageHost / "db";

  // Right after the last save returned.
  ASSERT_EQ(runCut(shop, pristine, image, 0), kBatches);
  checkImage(imageHost, kBatches);
  long syncs = 0;
  std::istringstream counts(qmxdao::test::readText(shop.folder() / "counts"));
  long ignored = 0;
  counts >> ignored >> ignored >> syncs;
  ASSERT_GT(syncs, 6);

  // After sampled syncs through the saves: the first ones and then every few.
  int cuts = 0;
  for (long cutAt = 1; cutAt <= syncs; cutAt += cutAt < 8 ? 1 : 3) {
    SCOPED_TRACE("cut after sync " + std::to_string(cutAt) + " of " + std::to_string(syncs));
    int acknowledged = runCut(shop, pristine, image, cutAt);
    checkImage(imageHost, acknowledged);
    ++cuts;
  }
  qmxdao::platform::setHostFolderForTesting(shop.folder().wstring() + L"/");
  std::cout << "power cut: " << cuts + 1 << " images of " << syncs << " syncs\n";
}

}  // namespace
