// Several writers on one keyed file at once, each batch save reading the largest ID and writing
// new rows while others read: threads of one process and two processes. Every call must succeed
// and every record must be stored once, under its own identifier.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using qmxdao::test::TempShop;
using QMXDataDomain::___CUSTOMER;

constexpr int kBatches = 20;
constexpr int kBatchSize = 10;

// Saves kBatches batches of new customers of one ORG, reading the table between them. Returns
// what went wrong, one line per failed or wrong call.
std::string saveAndRead(const std::wstring& org) {
  std::string failures;
  CustomerDAOImpl dao;
  for (int batch = 0; batch < kBatches; ++batch) {
    std::vector<___CUSTOMER> records(kBatchSize);
    for (int i = 0; i < kBatchSize; ++i) {
      records[i].ORG = org;
      records[i].TEL = std::to_wstring(batch * kBatchSize + i);
    }
    try {
      if (!dao.save(records)) failures += "save returned false\n";
      const long long stored = static_cast<long long>(
          dao.findBySQL(L"select ID, ORG from CUSTOMER where ORG = '" + org + L"'").size());
      if (stored != (batch + 1) * kBatchSize) failures += "wrong row count\n";
      if (dao.count() < stored) failures += "count below the rows read\n";
    } catch (const CppSQLite3Exception& e) {
      failures += std::string(e.what()) + "\n";
    }
  }
  return failures;
}

// Every ORG holds kBatches * kBatchSize rows, each TEL once, and no two rows share an ID.
void expectEveryRecordStored(const std::vector<std::wstring>& orgs) {
  CustomerDAOImpl dao;
  std::vector<___CUSTOMER> rows = dao.findBySQL(L"select * from CUSTOMER");
  ASSERT_EQ(rows.size(), orgs.size() * kBatches * kBatchSize);
  std::set<long long> ids;
  std::set<std::wstring> keys;
  for (const ___CUSTOMER& row : rows) {
    ids.insert(row.ID);
    keys.insert(row.ORG + L"/" + row.TEL);
  }
  EXPECT_EQ(ids.size(), rows.size());
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), static_cast<long long>(rows.size()));
  for (const std::wstring& org : orgs) {
    for (int n = 0; n < kBatches * kBatchSize; ++n) {
      EXPECT_EQ(keys.count(org + L"/" + std::to_wstring(n)), 1u) << org << L" " << n;
    }
  }
}

// A connection opened while another holds the file waits within its busy timeout, from the
// opening on: the key check at the open reads the file too.
TEST(CustomerConcurrency, CallsWaitForAFileAnotherConnectionHolds) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.save(std::vector<___CUSTOMER>(1)));

  for (int call = 0; call < 2; ++call) {
    auto holder = std::make_unique<CppSQLite3DB>();
    holder->open(shop.mainFile().wstring().c_str(), L"KRD1987");
    holder->execDML(L"begin exclusive transaction;");
    std::thread release([&holder] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      holder->execDML(L"commit transaction;");
      holder->close();
    });
    try {
      if (call == 0) {
        EXPECT_EQ(dao.count(), 1);
      } else {
        EXPECT_TRUE(dao.save(std::vector<___CUSTOMER>(1)));
      }
    } catch (const CppSQLite3Exception& e) {
      ADD_FAILURE() << (call == 0 ? "count: " : "save: ") << e.what();
    }
    release.join();
  }
  EXPECT_EQ(dao.count(), 2);
}

TEST(CustomerConcurrency, ThreadsSavingAndReadingOneFile) {
  TempShop shop(TempShop::Layout::kInstalled);
  const std::vector<std::wstring> orgs = {L"t0", L"t1", L"t2", L"t3"};
  std::vector<std::string> failures(orgs.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < orgs.size(); ++t) {
    threads.emplace_back([&failures, &orgs, t] { failures[t] = saveAndRead(orgs[t]); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
  expectEveryRecordStored(orgs);
}

TEST(CustomerConcurrency, TwoProcessesSavingAndReadingOneFile) {
#ifdef _WIN32
  GTEST_SKIP() << "forks the second process; the killed writer runs a second process on Windows";
#else
  TempShop shop(TempShop::Layout::kInstalled);
  // Derive the file's key before the fork, so that both processes start from the same state.
  ASSERT_EQ(CustomerDAOImpl().count(), 0);

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    std::string failures;
    try {
      failures = saveAndRead(L"child");
    } catch (...) {
      failures = "unexpected exception\n";
    }
    if (!failures.empty()) std::fprintf(stderr, "child: %s", failures.c_str());
    _exit(failures.empty() ? 0 : 1);
  }
  const std::string parentFailures = saveAndRead(L"parent");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(parentFailures, "");
  expectEveryRecordStored({L"child", L"parent"});
#endif
}

}  // namespace
