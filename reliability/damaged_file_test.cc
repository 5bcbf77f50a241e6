// A file damaged on the disk or in a copy: bytes flipped inside its pages, cut short, emptied.
// Every page of a keyed file carries an HMAC, so a changed byte anywhere after the salt must make
// the reads that touch its page fail with CppSQLite3Exception. A read that succeeds must give
// exactly what the undamaged file gives: never a crash, never rows made of garbage.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "testing/debug_capture.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using qmxdao::test::customerBatch;
using qmxdao::test::expectEngineError;
using qmxdao::test::readFileBytes;
using qmxdao::test::ReadOutcome;
using qmxdao::test::TempShop;
using qmxdao::test::tryRead;
using qmxdao::test::writeFileBytes;

constexpr std::size_t kPageSize = 1024;  // the page size of the engine's version-3 defaults
constexpr std::size_t kSaltSize = 16;
// Each page ends in 48 reserved bytes: the IV (16) and the HMAC (20) that covers the page and
// its IV, then 12 bytes of padding that nothing reads or authenticates.
constexpr std::size_t kAuthenticatedBytes = kPageSize - 12;

// The reads that between them touch every page of the file: the table, its ORG index, the
// schema, the version row, and the engine's own walk over all pages.
const std::vector<std::wstring>& probes() {
  static const std::vector<std::wstring> sqls = {
      L"select * from CUSTOMER order by ID",
      L"select ORG, ID from CUSTOMER indexed by IDX_CUSTOMER_ORG_ID order by ORG, ID",
      L"select type, name, sql from sqlite_master order by name",
      L"select * from version",
      L"PRAGMA integrity_check",
  };
  return sqls;
}

// What the reads give on a file; the failures are also tallied by their message.
std::vector<ReadOutcome> readAll(std::map<std::wstring, int>& failures) {
  std::vector<ReadOutcome> outcomes;
  for (const auto& sql : probes()) {
    outcomes.push_back(tryRead(sql));
    if (outcomes.back().error) {
      ++failures[std::to_wstring(outcomes.back().error->errorCode()) + L" " +
                 outcomes.back().error->errorMessage()];
    }
  }
  // The record class reads the same rows through its own column mapping.
  try {
    CustomerDAOImpl dao;
    dao.findBySQL(L"select * from CUSTOMER");
    dao.count();
  } catch (const CppSQLite3Exception& e) {
    ++failures[std::to_wstring(e.errorCode()) + L" " + e.errorMessage()];
  }
  return outcomes;
}

class DamagedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(1, 300, L"filler text of a customer")));
    pristine_ = readFileBytes(shop_.mainFile());
    ASSERT_GE(pristine_.size(), 20 * kPageSize);
    ASSERT_EQ(pristine_.size() % kPageSize, 0u);
    std::map<std::wstring, int> none;
    expected_ = readAll(none);
    ASSERT_TRUE(none.empty());
    ASSERT_EQ(expected_.back().rows->at(0).begin()->second, L"ok");
  }

  // Reads the damaged file. Each read either fails with the engine's exception or gives what
  // the undamaged file gave; returns whether any read noticed the damage.
  bool readsFailOrAgree(std::map<std::wstring, int>& failures) {
    const auto outcomes = readAll(failures);
    bool noticed = false;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
      if (outcomes[i].error) {
        noticed = true;
        continue;
      }
      if (i + 1 == outcomes.size() && *outcomes[i].rows != *expected_[i].rows) {
        noticed = true;  // the engine's walk reports the damage as findings
        continue;
      }
      EXPECT_TRUE(*outcomes[i].rows == *expected_[i].rows)
          << "a read of a damaged file gave different rows: "
          << testing::PrintToString(probes()[i]);
    }
    return noticed;
  }

  TempShop shop_{TempShop::Layout::kInstalled};
  std::string pristine_;
  std::vector<ReadOutcome> expected_;
};

TEST_F(DamagedFile, FlippedBytesAfterTheSaltFailTheReadsThatTouchThem) {
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::uniform_int_distribution<std::size_t> anyOffset(kPageSize, pristine_.size() - 1);
  std::uniform_int_distribution<std::size_t> firstPageOffset(kSaltSize, kPageSize - 1);
  std::uniform_int_distribution<int> flipsPerTrial(1, 4);
  std::uniform_int_distribution<int> mask(1, 255);

  std::map<std::wstring, int> failures;
  int trials = 0;
  int flipped = 0;
  for (int trial = 0; trial < 60; ++trial) {
    std::string damaged = pristine_;
    const int flips = flipsPerTrial(random);
    std::set<std::size_t> offsets;
    for (int i = 0; i < flips; ++i) {
      // One trial in six damages the first page behind its salt, the others any later page.
      std::size_t offset = 0;
      do {
        offset = trial % 6 == 0 ? firstPageOffset(random) : anyOffset(random);
      } while (offset % kPageSize >= kAuthenticatedBytes);
      damaged[offset] = static_cast<char>(damaged[offset] ^ mask(random));
      offsets.insert(offset);
    }
    writeFileBytes(shop_.mainFile(), damaged);
    SCOPED_TRACE("first flipped byte at " + std::to_string(*offsets.begin()));
    EXPECT_TRUE(readsFailOrAgree(failures)) << "no read noticed the flipped bytes";
    ++trials;
    flipped += flips;
  }

  std::cout << "[ figures  ] " << flipped << " bytes flipped in " << trials << " copies of a "
            << pristine_.size() / kPageSize << "-page file; failures by message:\n";
  for (const auto& [message, count] : failures) {
    std::wcout << L"[ figures  ]   " << count << L" x " << message << L"\n";
  }
}

TEST_F(DamagedFile, FileCutInsideAPageFailsTheReadsOfWhatIsMissing) {
  std::map<std::wstring, int> failures;
  const std::size_t pages = pristine_.size() / kPageSize;
  for (std::size_t keptPages :
       {std::size_t{0}, std::size_t{1}, std::size_t{2}, pages / 2, pages - 2, pages - 1}) {
    const std::size_t cut = keptPages * kPageSize + kPageSize / 2;
    SCOPED_TRACE("cut at byte " + std::to_string(cut));
    writeFileBytes(shop_.mainFile(), pristine_.substr(0, cut));
    EXPECT_TRUE(readsFailOrAgree(failures)) << "no read noticed the missing pages";
  }
  EXPECT_FALSE(failures.empty());
}

TEST_F(DamagedFile, EmptiedFileOpensAsAnEmptyDatabaseWithoutTheTable) {
  writeFileBytes(shop_.mainFile(), "");
  expectEngineError([] { CustomerDAOImpl().count(); }, 1, L"no such table: CUSTOMER");
  expectEngineError([] { CustomerDAOImpl().add(customerBatch(2, 5)); }, 1,
                    L"no such table: CUSTOMER");
  expectEngineError(
      [] { QMXDAO::Utility::SearchBySQL(L"select * from CUSTOMER", QMXDAO::DBNAME_MAIN); }, 1,
      L"no such table: CUSTOMER");
  // The customer's batch save tolerates a failed lookup: it skips each record with a diagnostic
  // line and reports success, having stored nothing.
  qmxdao::test::DebugCapture capture;
  EXPECT_TRUE(CustomerDAOImpl().save(customerBatch(3, 4)));
  EXPECT_EQ(capture.lines().size(), 4u);
  EXPECT_TRUE(
      QMXDAO::Utility::SearchBySQL(L"select * from sqlite_master", QMXDAO::DBNAME_MAIN).empty());
}

}  // namespace
