// Several processes on one file. A writer killed outright (SIGKILL, or TerminateProcess on
// Windows) at random moments while saving batches of 2,000 customers leaves a sound file of whole
// batches: the engine rolls the interrupted transaction back from its journal. And a busy till of
// four threads and two more processes on both files: writers queue on the engine's lock within the
// busy timeout, so no call fails, and each worker finds all it saved, as it last wrote it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>

#include "storage/platform.h"
#include "testing/host_system.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::customerBatch;
using qmxdao::test::integrityCheck;
using Clock = std::chrono::steady_clock;

constexpr int kBatchSize = 2000;

// Saves batch after batch until killed, writing a byte to `pipe` after each save that returned;
// leaves with _exit only, so nothing of the test process (gtest's state, output) runs twice.
[[noreturn]] void saveUntilKilled(long long firstBatch, int pipe) {
  CustomerDAOImpl dao;
  try {
    for (long long batch = firstBatch;; ++batch) {
      dao.save(customerBatch(batch, kBatchSize));
      if (write(pipe, "", 1) != 1) _exit(4);
    }
  } catch (...) {
    _exit(3);
  }
}

// Windows has no fork: the writer is this test program again, run on this test alone with the
// first batch, its inherited end of the pipe and the shop folder in its environment.
void runAsWriterWhenAsked() {
#ifdef _WIN32
  const wchar_t* value = _wgetenv(L"QMXDAO_KILLED_WRITER");
  int firstBatch = 0, pipe = -1, folder = 0;
  if (value == nullptr || swscanf(value, L"%d %d %n", &firstBatch, &pipe, &folder) < 2) return;
  qmxdao::platform::setHostFolderForTesting(value + folder);
  saveUntilKilled(firstBatch, pipe);
#endif
}

class WriterProcess {
 public:
  explicit WriterProcess(long long firstBatch) {
    int ends[2];
#ifdef _WIN32
    if (_pipe(ends, 256, _O_BINARY) != 0) return;
    _wputenv((L"QMXDAO_KILLED_WRITER=" + std::to_wstring(firstBatch) + L" " +
              std::to_wstring(ends[1]) + L" " + qmxdao::platform::hostFolder())
                 .c_str());
    const std::wstring self = qmxdao::test::executablePath().wstring();
    child_ = _wspawnl(_P_NOWAIT, self.c_str(), (L"\"" + self + L"\"").c_str(),
                      L"--gtest_filter=KilledWriter.*", nullptr);
    _wputenv(L"QMXDAO_KILLED_WRITER=");
#else
    if (pipe(ends) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      close(ends[0]);
      saveUntilKilled(firstBatch, ends[1]);
    }
#endif
    close(ends[1]);
    read_ = ends[0];
  }
  ~WriterProcess() {
    if (read_ >= 0) close(read_);
  }

  // Kills the writer outright and waits for it; true when it was still running.
  bool kill() {
    if (child_ <= 0) return false;
#ifdef _WIN32
    const HANDLE process = reinterpret_cast<HANDLE>(child_);
    DWORD code = 0;
    const bool killed = TerminateProcess(process, 99) &&
                        WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                        GetExitCodeProcess(process, &code) && code == 99;
    CloseHandle(process);
    return killed;
#else
    int status = 0;
    return ::kill(child_, SIGKILL) == 0 && waitpid(child_, &status, 0) == child_ &&
           WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
#endif
  }
  // Reads up to `most` bytes, one per save that returned, until the writer's end is closed.
  int drain(int most = 1 << 30) {
    int count = 0;
    char byte = 0;
    while (count < most && child_ > 0 && read(read_, &byte, 1) == 1) ++count;
    return count;
  }

 private:
  std::intptr_t child_ = -1;
  int read_ = -1;
};

TEST(KilledWriter, EveryKillLeavesASoundFileOfWholeBatches) {
  runAsWriterWhenAsked();
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  // The first open derives the file's key; done here, forked writers inherit it.
  ASSERT_EQ(dao.count(), 0);
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  const auto journal = std::filesystem::path(shop.mainFile().string() + "-journal");
  int journalsLeft = 0;
  long long acknowledged = 0;
  for (int kill = 0; kill < 20; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill) + ", seed " + std::to_string(seed));
    WriterProcess writer(kill * 1000000LL);
    // Killed 5 to 150 ms after a save returned: in the next batch's lookups, inserts or commit.
    const bool started = writer.drain(1) == 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 146));
    ASSERT_TRUE(writer.kill()) << "the writer stopped on its own";
    ASSERT_TRUE(started) << "the writer saved no batch";
    acknowledged += 1 + writer.drain();
    journalsLeft += std::filesystem::exists(journal);
    ASSERT_EQ(integrityCheck(), L"ok");
    // Whole batches of one ORG only: each save that returned, and at most one more.
    const auto counts = Utility::SearchBySQL(
        L"select count(*) as B, total(N = 2000 and ORGS = 1) as W from (select count(*) as N, "
        L"count(distinct ORG) as ORGS from CUSTOMER group by EXT1)",
        QMXDAO::DBNAME_MAIN)[0];
    const long long stored = std::stoll(counts.at(L"B"));
    EXPECT_EQ(std::stod(counts.at(L"W")), stored) << "batches stored in part";
    EXPECT_TRUE(stored == acknowledged || stored == acknowledged + 1)
        << stored << " batches stored, " << acknowledged << " saves returned";
    acknowledged = stored;
  }

  // The file still takes writes after all that.
  ASSERT_TRUE(dao.save(customerBatch(-1, 10)));
  EXPECT_EQ(dao.count(), acknowledged * kBatchSize + 10);
  std::cout << "[ figures  ] 20 kills (seed " << seed << "), " << journalsLeft
            << " left a journal to roll back, " << acknowledged << " whole batches committed\n";
}

constexpr int kThreads = 4, kProcesses = 2, kBatch = 10;

// One worker's random calls until the deadline, then a look at its rows. Only this worker writes
// the ORGs and RAND_IDs that start with its prefix, so every read of them must agree with what it
// last wrote. A failed call ends the worker: no call may fail.
void work(int id, Clock::time_point deadline) {
  std::mt19937 random(static_cast<unsigned>(id) + std::random_device{}());
  const std::wstring prefix = L"w" + std::to_wstring(id) + L"-";
  std::map<std::wstring, std::wstring> batches;  // ORG of a stored batch -> its last EXT2
  long long sales = 0;
  CustomerDAOImpl customers;
  QMXDAO::SaleOrderSummaryDAOImpl saleDao;
  auto find = [&](const std::wstring& org) {
    auto rows = customers.findBySQL(L"select * from CUSTOMER where ORG = '" + org + L"'");
    bool agrees = rows.size() == kBatch;
    for (const auto& row : rows) agrees = agrees && row.EXT2 == batches[org];
    EXPECT_TRUE(agrees) << "a read of " << org << " disagreed with its writer";
    return rows;
  };
  try {
    for (int call = 0; Clock::now() < deadline; ++call) {
      const std::wstring name = prefix + std::to_wstring(call);
      const std::wstring org =
          batches.empty() ? L"" : std::next(batches.begin(), random() % batches.size())->first;
      const unsigned dice = org.empty() ? 0 : random() % 100;
      if (dice < 30) {
        auto batch = customerBatch(0, kBatch);
        for (auto& record : batch) record.ORG = name;
        customers.save(batch);
        batches[name] = L"";
      } else if (dice < 42) {
        auto rows = find(org);
        for (auto& row : rows) row.EXT2 = name;
        customers.update(rows);
        batches[org] = name;
      } else if (dice < 50) {
        std::vector<long long> ids;
        for (const auto& row : find(org)) ids.push_back(row.ID);
        customers.delet(ids);
        batches.erase(org);
      } else if (dice < 80) {
        find(org);
        customers.count();
        saleDao.count();
      } else {
        std::vector<QMXDataDomain::___SALE_ORDER_SUMMARY> batch(5);
        for (auto& sale : batch) sale.RAND_ID = name + L"-" + std::to_wstring(sales++);
        saleDao.save(batch);
      }
    }
    // Every acknowledged batch as last written and no other row; every sale.
    for (const auto& batch : batches) find(batch.first);
    const std::wstring mine = L" like '" + prefix + L"%'";
    EXPECT_EQ(Utility::GetItemCount(L"CUSTOMER", L"ORG" + mine, QMXDAO::DBNAME_MAIN),
              kBatch * static_cast<long long>(batches.size()));
    EXPECT_EQ(Utility::GetItemCount(L"SALE_ORDER_SUMMARY", L"RAND_ID" + mine, QMXDAO::DBNAME_SALE),
              sales);
  } catch (const CppSQLite3Exception& e) {
    ADD_FAILURE() << "worker " << id << ": a call failed: " << e.what();
  }
}

TEST(Load, ThreadsAndProcessesLoseNothingAndNeverSeeALock) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kInstalled);
  // Both files' keys are derived once, before the processes part.
  ASSERT_EQ(CustomerDAOImpl().count(), 0);
  ASSERT_EQ(QMXDAO::SaleOrderSummaryDAOImpl().count(), 0);
  const auto deadline = Clock::now() + std::chrono::seconds(3);
#ifndef _WIN32  // Windows has no fork: the threads and the killed writer's processes cover it
  // The processes are forked before any thread starts, so they inherit no lock held elsewhere.
  // A process reports its failures on the shared output and in its exit status.
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    children.push_back(fork());
    if (children.back() == 0) {
      work(kThreads + p, deadline);
      _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
  }
#endif
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(work, t, deadline);
  for (auto& thread : threads) thread.join();
#ifndef _WIN32
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a worker process failed";
  }
#endif
  EXPECT_EQ(integrityCheck(QMXDAO::DBNAME_MAIN), L"ok");
  EXPECT_EQ(integrityCheck(QMXDAO::DBNAME_SALE), L"ok");
  std::cout << "[ figures  ] in 3 s " << kThreads << " threads and " << kProcesses
            << " processes left " << CustomerDAOImpl().count() << " customers and "
            << QMXDAO::SaleOrderSummaryDAOImpl().count() << " sales\n";
}

}  // namespace
