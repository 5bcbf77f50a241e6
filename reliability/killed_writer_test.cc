// Power cut in the middle of a sale: a writer process is killed outright (SIGKILL, no chance to
// clean up) at random moments while it saves batches of 2,000 customers. After each kill the next
// connection must find a sound file holding whole batches only: the engine rolls the interrupted
// transaction back from the journal it left behind.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using qmxdao::test::customerBatch;
using qmxdao::test::integrityCheck;
using qmxdao::test::TempShop;

constexpr int kKills = 20;
constexpr int kBatchSize = 2000;

// The child saves batch after batch until it is killed, writing one byte to the pipe after each
// save that returned. It only calls the library and leaves with _exit, so nothing of the test
// process (gtest's state, buffered output) runs twice.
[[noreturn]] void saveUntilKilled(long long firstBatch, int pipe) {
  CustomerDAOImpl dao;
  const char saved = 1;
  try {
    for (long long batch = firstBatch;; ++batch) {
      dao.save(customerBatch(batch, kBatchSize));
      if (write(pipe, &saved, 1) != 1) _exit(4);
    }
  } catch (...) {
    _exit(3);
  }
}

// Waits up to a minute for the first byte on the pipe; false when none came.
bool firstSave(int pipe) {
  pollfd ready{pipe, POLLIN, 0};
  char byte = 0;
  return poll(&ready, 1, 60000) == 1 && read(pipe, &byte, 1) == 1;
}

// The bytes still waiting on the pipe: saves that returned before the kill.
int drain(int pipe) {
  int count = 0;
  char bytes[256];
  ssize_t n;
  while ((n = read(pipe, bytes, sizeof bytes)) > 0) count += static_cast<int>(n);
  return count;
}

TEST(KilledWriter, EveryKillLeavesASoundFileOfWholeBatches) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  // The first open of a file derives its key; done here, the children inherit the derived key
  // and start writing at once.
  ASSERT_EQ(dao.count(), 0);

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayMs(5, 150);
  const auto journal = std::filesystem::path(shop.mainFile().string() + "-journal");
  int journalsLeft = 0;

  long long acknowledged = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill) + ", seed " + std::to_string(seed));
    int saves[2];
    ASSERT_EQ(pipe(saves), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(saves[0]);
      saveUntilKilled(kill * 1000000LL, saves[1]);
    }
    close(saves[1]);

    // The kill falls 5 to 150 ms after a save returned, somewhere in the next batch: in its
    // lookups, its inserts, or its commit.
    const bool started = firstSave(saves[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(started) << "the writer saved no batch within a minute";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the writer stopped on its own, status " << status;
    const int savedThisRound = 1 + drain(saves[0]);
    close(saves[0]);
    if (std::filesystem::exists(journal)) ++journalsLeft;

    ASSERT_EQ(integrityCheck(), L"ok");
    // Whole batches only: 2,000 rows of one ORG per batch number, or none.
    const auto batches = QMXDAO::Utility::SearchBySQL(
        L"select EXT1, count(*) as N, count(distinct ORG) as ORGS from CUSTOMER group by EXT1",
        QMXDAO::DBNAME_MAIN);
    for (const auto& batch : batches) {
      EXPECT_EQ(batch.at(L"N"), std::to_wstring(kBatchSize)) << "batch " << batch.at(L"EXT1");
      EXPECT_EQ(batch.at(L"ORGS"), L"1") << "batch " << batch.at(L"EXT1");
    }
    // Every save that returned is stored; at most one more, committed just before the kill.
    acknowledged += savedThisRound;
    const long long stored = static_cast<long long>(batches.size());
    EXPECT_TRUE(stored == acknowledged || stored == acknowledged + 1)
        << stored << " batches stored, " << acknowledged << " saves returned";
    acknowledged = stored;
  }

  // The file still takes writes after all that.
  ASSERT_TRUE(dao.save(customerBatch(-1, 10)));
  EXPECT_EQ(integrityCheck(), L"ok");
  const long long rows = dao.count();
  EXPECT_EQ((rows - 10) % kBatchSize, 0);
  std::cout << "[ figures  ] " << kKills << " kills (delays 5-150 ms, seed " << seed << "), "
            << journalsLeft << " left a journal to roll back, " << (rows - 10) / kBatchSize
            << " whole batches of " << kBatchSize << " committed\n";
}

}  // namespace
