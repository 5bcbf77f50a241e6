// Power cut in the middle of a sale: a writer process is killed outright (SIGKILL on POSIX,
// TerminateProcess on Windows: no chance to clean up) at random moments while it saves batches of
// 2,000 customers. After each kill the next connection must find a sound file holding whole batches
// only: the engine rolls the interrupted transaction back from the journal it left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "storage/platform.h"
#include "testing/host_system.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using qmxdao::test::customerBatch;
using qmxdao::test::integrityCheck;
using qmxdao::test::TempShop;

constexpr int kKills = 20;
constexpr int kBatchSize = 2000;

// The writer saves batch after batch until it is killed, sending one byte after each save that
// returned. It only calls the library and leaves with _exit, so nothing of the test process
// (gtest's state, buffered output) runs twice.
template <typename Send>
[[noreturn]] void saveUntilKilled(long long firstBatch, Send send) {
  CustomerDAOImpl dao;
  try {
    for (long long batch = firstBatch;; ++batch) {
      dao.save(customerBatch(batch, kBatchSize));
      if (!send()) _exit(4);
    }
  } catch (...) {
    _exit(3);
  }
}

#ifdef _WIN32
// Windows has no fork: the writer is this test program again, started on this test alone with
// the shop folder, the first batch and the inherited pipe handle in its environment.
constexpr const char* kWriterVariable = "QMXDAO_KILLED_WRITER";

class WriterProcess {
 public:
  explicit WriterProcess(long long firstBatch) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&read_, &writeEnd, &inherit, 0)) return;
    SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    const std::wstring value = qmxdao::platform::hostFolder() + L"|" + std::to_wstring(firstBatch) +
                               L"|" + std::to_wstring(reinterpret_cast<std::uintptr_t>(writeEnd));
    SetEnvironmentVariableW(L"QMXDAO_KILLED_WRITER", value.c_str());
    std::wstring command =
        L"\"" + qmxdao::test::executablePath().wstring() +
        L"\" --gtest_filter=KilledWriter.EveryKillLeavesASoundFileOfWholeBatches";
    // The writer's own test output goes nowhere.
    HANDLE nowhere =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                              &startup, &process_) != 0;
    SetEnvironmentVariableW(L"QMXDAO_KILLED_WRITER", nullptr);
    CloseHandle(writeEnd);
    CloseHandle(nowhere);
  }
  ~WriterProcess() {
    if (started_) {
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    if (read_ != nullptr) CloseHandle(read_);
  }

  // Waits up to a minute for the first byte; false when none came.
  bool firstSave() {
    for (int waited = 0; started_ && waited < 60000; waited += 5) {
      DWORD available = 0;
      if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr)) return false;
      if (available > 0) return readSome(1) == 1;
      Sleep(5);
    }
    return false;
  }
  // Kills the writer outright and waits for it; true when it was still running.
  bool kill() {
    if (!started_) return false;
    const bool killed = TerminateProcess(process_.hProcess, 99) != 0;
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return killed && code == 99;
  }
  // The bytes still waiting: saves that returned before the kill.
  int drain() {
    int count = 0;
    for (int n; (n = readSome(256)) > 0;) count += n;
    return count;
  }

 private:
  int readSome(DWORD most) {
    char bytes[256];
    DWORD n = 0;
    return ReadFile(read_, bytes, most, &n, nullptr) ? static_cast<int>(n) : 0;
  }

  HANDLE read_ = nullptr;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

// In the started writer: the shop of the test that started it, then saves until killed.
void runAsWriterWhenAsked() {
  const char* value = std::getenv(kWriterVariable);
  if (value == nullptr) return;
  const std::string fields(value);
  const auto first = fields.find('|');
  const auto second = fields.find('|', first + 1);
  qmxdao::platform::setHostFolderForTesting(
      std::filesystem::path(fields.substr(0, first)).wstring());
  const long long firstBatch = std::stoll(fields.substr(first + 1, second - first - 1));
  const HANDLE pipe =
      reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::stoull(fields.substr(second + 1))));
  saveUntilKilled(firstBatch, [pipe] {
    const char saved = 1;
    DWORD written = 0;
    return WriteFile(pipe, &saved, 1, &written, nullptr) && written == 1;
  });
}
#else
class WriterProcess {
 public:
  explicit WriterProcess(long long firstBatch) {
    int saves[2];
    if (pipe(saves) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      close(saves[0]);
      saveUntilKilled(firstBatch, [pipe = saves[1]] {
        const char saved = 1;
        return write(pipe, &saved, 1) == 1;
      });
    }
    close(saves[1]);
    read_ = saves[0];
  }
  ~WriterProcess() {
    if (read_ >= 0) close(read_);
  }

  // Waits up to a minute for the first byte; false when none came.
  bool firstSave() {
    pollfd ready{read_, POLLIN, 0};
    char byte = 0;
    return child_ > 0 && poll(&ready, 1, 60000) == 1 && read(read_, &byte, 1) == 1;
  }
  // Kills the writer outright and waits for it; true when it was still running.
  bool kill() {
    if (child_ <= 0 || ::kill(child_, SIGKILL) != 0) return false;
    int status = 0;
    return waitpid(child_, &status, 0) == child_ && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
  }
  // The bytes still waiting: saves that returned before the kill.
  int drain() {
    int count = 0;
    char bytes[256];
    ssize_t n;
    while ((n = read(read_, bytes, sizeof bytes)) > 0) count += static_cast<int>(n);
    return count;
  }

 private:
  pid_t child_ = -1;
  int read_ = -1;
};

void runAsWriterWhenAsked() {}
#endif

TEST(KilledWriter, EveryKillLeavesASoundFileOfWholeBatches) {
  runAsWriterWhenAsked();
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
    WriterProcess writer(kill * 1000000LL);

    // The kill falls 5 to 150 ms after a save returned, somewhere in the next batch: in its
    // lookups, its inserts, or its commit.
    const bool started = writer.firstSave();
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    ASSERT_TRUE(writer.kill()) << "the writer stopped on its own";
    ASSERT_TRUE(started) << "the writer saved no batch within a minute";
    const int savedThisRound = 1 + writer.drain();
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
