// qmxdao_soak: one worker process of scripts/soak.sh. For the seconds given it makes random calls
// on both files through the library, as a till does: batch saves of new customers, saves and
// updates of stored ones, deletes, finds and counts, and saves, re-saves, deletes and counts of
// sale order summaries. Only this worker writes the ORGs and RAND_IDs that start with its prefix,
// so every read of them must agree with what it last wrote. It keeps at most kKept batches of
// each kind, so the files stay small however long it runs. At the end it looks for every batch
// whose save returned, as last written, and prints one line: "calls N errors E ...". Exit status
// 0 only when no call failed and every batch was found.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"

namespace {

using Clock = std::chrono::steady_clock;
using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::___SALE_ORDER_SUMMARY;

constexpr std::size_t kKept = 20;  // stored batches per kind and worker, at most
constexpr int kCustomers = 10, kSales = 5;

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class Worker {
 public:
  explicit Worker(int id)
      : prefix_(L"soak" + std::to_wstring(id) + L"-"),
        random_(static_cast<unsigned>(id) + std::random_device{}()) {}

  void run(Clock::time_point deadline) {
    for (long long step = 0; Clock::now() < deadline; ++step) {
      const std::wstring tag = prefix_ + std::to_wstring(step);
      const unsigned dice = random_() % 100;
      if (dice < 12) {
        call("customer save", [&] { saveNewCustomers(tag); });
      } else if (dice < 22) {
        call("customer update", [&] { changeCustomers(tag, false); });
      } else if (dice < 30) {
        call("customer save of stored", [&] { changeCustomers(tag, true); });
      } else if (dice < 38) {
        call("customer delete", [&] { deleteCustomers(); });
      } else if (dice < 60) {
        call("customer read", [&] {
          if (!customers_.empty()) findCustomers(any(customers_));
          customerDao_.count();
        });
      } else if (dice < 72) {
        call("sale save", [&] { saveSales(tag, L""); });
      } else if (dice < 80) {
        call("sale save of stored", [&] {
          if (!sales_.empty()) saveSales(any(sales_), tag);
        });
      } else if (dice < 88) {
        call("sale delete", [&] { deleteSales(); });
      } else {
        call("sale read", [&] {
          if (!sales_.empty()) findSales(any(sales_));
          QMXDAO::Utility::GetItemCount(L"SALE_ORDER_SUMMARY", L"", QMXDAO::DBNAME_SALE);
        });
      }
    }
  }

  // Every batch as last written and no other row of this worker's.
  void verify() {
    call("final check", [&] {
      for (const auto& batch : customers_) findCustomers(batch.first);
      for (const auto& batch : sales_) findSales(batch.first);
      const std::wstring mine = L" like '" + prefix_ + L"%'";
      expect(QMXDAO::Utility::GetItemCount(L"CUSTOMER", L"ORG" + mine, QMXDAO::DBNAME_MAIN) ==
                 static_cast<long long>(customers_.size()) * kCustomers,
             L"customer rows besides the batches kept");
      expect(QMXDAO::Utility::GetItemCount(L"SALE_ORDER_SUMMARY", L"RAND_ID" + mine,
                                           QMXDAO::DBNAME_SALE) ==
                 static_cast<long long>(sales_.size()) * kSales,
             L"sale rows besides the batches kept");
    });
  }

  long long calls() const { return calls_; }
  long long errors() const { return errors_; }
  std::size_t keptBatches() const { return customers_.size() + sales_.size(); }

 private:
  // One library call; a failure is reported and counted, and the model is left as it was (a
  // failed call stores nothing).
  template <typename Call>
  void call(const char* what, Call work) {
    ++calls_;
    try {
      work();
    } catch (const CppSQLite3Exception& e) {
      ++errors_;
      std::cerr << narrow(prefix_) << " " << what << " failed: " << e.errorCode() << ": "
                << narrow(e.errorMessage()) << std::endl;
    } catch (const std::exception& e) {
      ++errors_;
      std::cerr << narrow(prefix_) << " " << what << " failed: " << e.what() << std::endl;
    }
  }

  void expect(bool holds, const std::wstring& what) {
    if (!holds) throw std::runtime_error(narrow(what));
  }

  const std::wstring& any(const std::map<std::wstring, std::wstring>& batches) {
    return std::next(batches.begin(), static_cast<long>(random_() % batches.size()))->first;
  }

  std::vector<___CUSTOMER> findCustomers(const std::wstring& org) {
    auto rows = customerDao_.findBySQL(L"select * from CUSTOMER where ORG = '" + org + L"'");
    bool agrees = rows.size() == kCustomers;
    for (const auto& row : rows) agrees = agrees && row.EXT2 == customers_[org];
    expect(agrees, L"a read of " + org + L" disagrees with what was written");
    return rows;
  }

  void saveNewCustomers(const std::wstring& org) {
    if (customers_.size() >= kKept) return deleteCustomers();
    std::vector<___CUSTOMER> batch(kCustomers);
    for (std::size_t i = 0; i < batch.size(); ++i) {
      batch[i].ORG = org;
      batch[i].CUSTOMER_NAME = L"customer " + std::to_wstring(i);
    }
    customerDao_.save(batch);
    customers_[org] = L"";
  }

  // A new EXT2 for a stored batch, by update or by the batch save of the stored rows.
  void changeCustomers(const std::wstring& tag, bool bySave) {
    if (customers_.empty()) return;
    const std::wstring org = any(customers_);
    auto rows = findCustomers(org);
    for (auto& row : rows) row.EXT2 = tag;
    bySave ? customerDao_.save(rows) : customerDao_.update(rows);
    customers_[org] = tag;
  }

  void deleteCustomers() {
    deleteBatch(customers_, customerDao_,
                [this](const std::wstring& org) { return findCustomers(org); });
  }

  // Deletes one stored batch of kept (read back first, so the read is checked too) by its IDs.
  template <typename Dao, typename Find>
  void deleteBatch(std::map<std::wstring, std::wstring>& kept, Dao& dao, Find find) {
    if (kept.empty()) return;
    const std::wstring batch = any(kept);
    std::vector<long long> ids;
    for (const auto& row : find(batch)) ids.push_back(row.ID);
    dao.delet(ids);
    kept.erase(batch);
  }

  std::vector<___SALE_ORDER_SUMMARY> findSales(const std::wstring& batch) {
    auto rows = saleDao_.findBySQL(L"select * from SALE_ORDER_SUMMARY where RAND_ID like '" +
                                   batch + L"/%'");
    bool agrees = rows.size() == kSales;
    for (const auto& row : rows) agrees = agrees && row.REMARK == sales_[batch];
    expect(agrees, L"a read of " + batch + L" disagrees with what was written");
    return rows;
  }

  // A new batch of sales, or (remark not empty) the batch saved again with a new REMARK: the
  // batch save finds each by its RAND_ID and updates it.
  void saveSales(const std::wstring& batch, const std::wstring& remark) {
    if (remark.empty() && sales_.size() >= kKept) return deleteSales();
    std::vector<___SALE_ORDER_SUMMARY> records(kSales);
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].RAND_ID = batch + L"/" + std::to_wstring(i);
      records[i].REMARK = remark;
      records[i].TOTAL_PRICE = 9.5f;
    }
    saleDao_.save(records);
    sales_[batch] = remark;
  }

  void deleteSales() {
    deleteBatch(sales_, saleDao_, [this](const std::wstring& batch) { return findSales(batch); });
  }

  const std::wstring prefix_;
  std::mt19937 random_;
  QMXDAO::CustomerDAOImpl customerDao_;
  QMXDAO::SaleOrderSummaryDAOImpl saleDao_;
  std::map<std::wstring, std::wstring> customers_;  // ORG of a stored batch -> its EXT2
  std::map<std::wstring, std::wstring> sales_;      // batch of RAND_IDs -> its REMARK
  long long calls_ = 0, errors_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: qmxdao_soak WORKER SECONDS (run by scripts/soak.sh)\n";
    return 2;
  }
  QMXDAO::Utility::InitDB();
  Worker worker(std::atoi(argv[1]));
  worker.run(Clock::now() + std::chrono::seconds(std::atol(argv[2])));
  worker.verify();
  QMXDAO::Utility::QuitDB();
  std::cout << "calls " << worker.calls() << " errors " << worker.errors() << " kept "
            << worker.keptBatches() << '\n';
  return worker.errors() == 0 ? 0 : 1;
}
