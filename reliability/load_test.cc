// A busy till: four threads and two more processes share both database files for a few seconds,
// mixing batch saves, updates, deletes, counts and finds. Writers queue on the engine's lock
// within the busy timeout, so no call may fail (in particular none with "database is locked"),
// and afterwards every acknowledged record is stored exactly once, as last written.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using QMXDAO::SaleOrderSummaryDAOImpl;
using qmxdao::test::TempShop;
using QMXDataDomain::___SALE_ORDER_SUMMARY;
using Clock = std::chrono::steady_clock;

constexpr int kThreads = 4;
constexpr int kProcesses = 2;
constexpr auto kDuration = std::chrono::seconds(5);
constexpr int kCustomersPerBatch = 10;
constexpr int kSalesPerBatch = 5;

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// What one worker believes the files hold, and what happened to its calls. Only the worker
// writes its own ORGs and RAND_IDs, so its reads of them must agree with it exactly.
struct Ledger {
  std::map<std::string, std::string> customers;  // ORG of a stored batch -> its EXT2
  std::set<std::string> sales;                   // RAND_IDs stored
  std::set<std::string> uncertain;  // ORGs and RAND_IDs of failed calls: all rows or none
  std::map<std::string, long long> calls;
  std::map<std::string, long long> failures;  // by the exception's text
  long long wrongAnswers = 0;

  void merge(const Ledger& other) {
    customers.insert(other.customers.begin(), other.customers.end());
    sales.insert(other.sales.begin(), other.sales.end());
    uncertain.insert(other.uncertain.begin(), other.uncertain.end());
    for (const auto& [kind, n] : other.calls) calls[kind] += n;
    for (const auto& [message, n] : other.failures) failures[message] += n;
    wrongAnswers += other.wrongAnswers;
  }

  // One line per entry, for a child process to hand its ledger to the test.
  void write(std::ostream& out) const {
    for (const auto& [org, ext2] : customers) out << "C\t" << org << "\t" << ext2 << "\n";
    for (const auto& id : sales) out << "S\t" << id << "\n";
    for (const auto& id : uncertain) out << "U\t" << id << "\n";
    for (const auto& [kind, n] : calls) out << "K\t" << n << "\t" << kind << "\n";
    for (const auto& [message, n] : failures) out << "F\t" << n << "\t" << message << "\n";
    out << "W\t" << wrongAnswers << "\n";
  }

  void read(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string tag, first, rest;
      std::getline(fields, tag, '\t');
      std::getline(fields, first, '\t');
      std::getline(fields, rest);
      if (tag == "C") customers[first] = rest;
      if (tag == "S") sales.insert(first);
      if (tag == "U") uncertain.insert(first);
      if (tag == "K") calls[rest] += std::stoll(first);
      if (tag == "F") failures[rest] += std::stoll(first);
      if (tag == "W") wrongAnswers += std::stoll(first);
    }
  }
};

class Worker {
 public:
  Worker(int id, unsigned seed) : id_(id), random_(seed + static_cast<unsigned>(id)) {}

  void run(Clock::time_point deadline) {
    while (Clock::now() < deadline) {
      const int dice = static_cast<int>(random_() % 100);
      std::string touched;
      try {
        if (dice < 30 || ledger_.customers.empty()) {
          saveCustomers(touched);
        } else if (dice < 42) {
          updateCustomers(touched);
        } else if (dice < 50) {
          deleteCustomers(touched);
        } else if (dice < 62) {
          call("customer count");
          customers_.count();
        } else if (dice < 75) {
          findCustomers(pickOrg());
        } else if (dice < 90) {
          saveSales(touched);
        } else {
          call("sale count");
          sales_.count();
        }
      } catch (const CppSQLite3Exception& e) {
        ++ledger_.failures[e.what()];
        if (!touched.empty()) {
          ledger_.customers.erase(touched);
          ledger_.uncertain.insert(touched);
        }
      }
    }
  }

  const Ledger& ledger() const { return ledger_; }

 private:
  void call(const char* kind) { ++ledger_.calls[kind]; }

  std::string pickOrg() {
    auto it = ledger_.customers.begin();
    std::advance(it, static_cast<long>(random_() % ledger_.customers.size()));
    return it->first;
  }

  // The stored rows of one of this worker's batches; they must be what it last wrote.
  std::vector<QMXDataDomain::___CUSTOMER> findCustomers(const std::string& org) {
    call("customer find");
    auto rows = customers_.findBySQL(L"select * from CUSTOMER where ORG = '" + wide(org) + L"'");
    bool agrees = rows.size() == kCustomersPerBatch;
    for (const auto& row : rows) agrees = agrees && narrow(row.EXT2) == ledger_.customers[org];
    if (!agrees) ++ledger_.wrongAnswers;
    return rows;
  }

  void saveCustomers(std::string& touched) {
    const std::string org = "w" + std::to_string(id_) + "-b" + std::to_string(next_++);
    auto batch = qmxdao::test::customerBatch(0, kCustomersPerBatch);
    for (auto& record : batch) record.ORG = wide(org);
    touched = org;
    call("customer save");
    customers_.save(batch);
    ledger_.customers[org] = "";
  }

  void updateCustomers(std::string& touched) {
    const std::string org = pickOrg();
    auto rows = findCustomers(org);
    const std::string ext2 = "u" + std::to_string(next_++);
    for (auto& row : rows) row.EXT2 = wide(ext2);
    touched = org;
    call("customer update");
    customers_.update(rows);
    ledger_.customers[org] = ext2;
  }

  void deleteCustomers(std::string& touched) {
    const std::string org = pickOrg();
    std::vector<long long> ids;
    for (const auto& row : findCustomers(org)) ids.push_back(row.ID);
    touched = org;
    call("customer delete");
    customers_.delet(ids);
    ledger_.customers.erase(org);
  }

  void saveSales(std::string& touched) {
    std::vector<___SALE_ORDER_SUMMARY> batch(kSalesPerBatch);
    const std::string prefix = "w" + std::to_string(id_) + "-s" + std::to_string(next_++) + "-";
    for (int i = 0; i < kSalesPerBatch; ++i) {
      batch[static_cast<std::size_t>(i)].RAND_ID = wide(prefix + std::to_string(i));
    }
    touched = prefix;
    call("sale save");
    sales_.save(batch);
    for (const auto& sale : batch) ledger_.sales.insert(narrow(sale.RAND_ID));
    touched.clear();
  }

  int id_;
  std::mt19937 random_;
  int next_ = 0;
  Ledger ledger_;
  CustomerDAOImpl customers_;
  SaleOrderSummaryDAOImpl sales_;
};

TEST(Load, ThreadsAndProcessesLoseNothingAndNeverSeeALock) {
  TempShop shop(TempShop::Layout::kInstalled);
  // Derive both files' keys once, before the processes part.
  ASSERT_EQ(CustomerDAOImpl().count(), 0);
  ASSERT_EQ(SaleOrderSummaryDAOImpl().count(), 0);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  const auto start = Clock::now();
  const auto deadline = start + kDuration;

  // The processes are forked before any thread starts, so they inherit no lock held elsewhere.
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Worker worker(kThreads + p, seed);
      worker.run(deadline);
      std::ofstream out(shop.folder() / ("ledger-" + std::to_string(p)));
      worker.ledger().write(out);
      out.close();
      _exit(out ? 0 : 1);
    }
    children.push_back(child);
  }
  std::vector<std::unique_ptr<Worker>> workers;
  for (int t = 0; t < kThreads; ++t) workers.push_back(std::make_unique<Worker>(t, seed));
  std::vector<std::thread> threads;
  for (auto& worker : workers) {
    threads.emplace_back([&worker, deadline] { worker->run(deadline); });
  }
  for (auto& thread : threads) thread.join();

  Ledger all;
  for (const auto& worker : workers) all.merge(worker->ledger());
  for (int p = 0; p < kProcesses; ++p) {
    int status = 0;
    ASSERT_EQ(waitpid(children[static_cast<std::size_t>(p)], &status, 0),
              children[static_cast<std::size_t>(p)]);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "process " << p;
    Ledger child;
    std::ifstream in(shop.folder() / ("ledger-" + std::to_string(p)));
    child.read(in);
    all.merge(child);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

  long long locked = 0;
  for (const auto& [message, n] : all.failures) {
    if (message.find("database is locked") != std::string::npos) locked += n;
    ADD_FAILURE() << n << " calls failed with " << message;
  }
  EXPECT_EQ(locked, 0);
  EXPECT_EQ(all.wrongAnswers, 0) << "reads of a worker's own rows that disagreed with it";

  // Every acknowledged batch exactly once with what was last written; nothing else but the
  // batches of failed calls, whole or not at all.
  std::map<std::string, std::pair<long long, std::string>> stored;
  for (const auto& row : QMXDAO::Utility::SearchBySQL(
           L"select ORG, count(*) as N, group_concat(distinct coalesce(EXT2, '')) as E "
           L"from CUSTOMER group by ORG",
           QMXDAO::DBNAME_MAIN)) {
    stored[narrow(row.at(L"ORG"))] = {std::stoll(narrow(row.at(L"N"))), narrow(row.at(L"E"))};
  }
  for (const auto& [org, ext2] : all.customers) {
    ASSERT_EQ(stored.count(org), 1u) << "acknowledged batch " << org << " is missing";
    EXPECT_EQ(stored[org].first, kCustomersPerBatch) << org;
    EXPECT_EQ(stored[org].second, ext2) << org;
    stored.erase(org);
  }
  for (const auto& [org, rows] : stored) {
    EXPECT_TRUE(all.uncertain.count(org) == 1 && rows.first == kCustomersPerBatch)
        << "stray rows of " << org;
  }
  std::set<std::string> storedSales;
  for (const auto& row : QMXDAO::Utility::SearchBySQL(
           L"select RAND_ID, count(*) as N from SALE_ORDER_SUMMARY group by RAND_ID",
           QMXDAO::DBNAME_SALE)) {
    EXPECT_EQ(row.at(L"N"), L"1") << narrow(row.at(L"RAND_ID"));
    storedSales.insert(narrow(row.at(L"RAND_ID")));
  }
  EXPECT_TRUE(storedSales == all.sales)
      << storedSales.size() << " sales stored, " << all.sales.size() << " acknowledged";
  EXPECT_EQ(qmxdao::test::integrityCheck(QMXDAO::DBNAME_MAIN), L"ok");
  EXPECT_EQ(qmxdao::test::integrityCheck(QMXDAO::DBNAME_SALE), L"ok");

  long long total = 0;
  std::ostringstream kinds;
  for (const auto& [kind, n] : all.calls) {
    total += n;
    kinds << " " << kind << " " << n << ";";
  }
  std::cout << "[ figures  ] " << total << " calls in " << seconds << " s by " << kThreads
            << " threads and " << kProcesses << " processes:" << kinds.str() << " "
            << all.failures.size() << " kinds of failure, " << locked << " locked\n";
}

}  // namespace
#else
#include <gtest/gtest.h>

TEST(Load, ThreadsAndProcessesLoseNothingAndNeverSeeALock) {
  GTEST_SKIP() << "forks its writer processes; the threads and the killed writer cover Windows";
}
#endif
