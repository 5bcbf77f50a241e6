// The batch save of the record classes without a benchmark file of their own (the customer and
// the item have theirs), each beside the same work written straight against SQLCipher
// (raw_batch_save.h). The gap between a pair is the library's own cost for the same rows.
//
//   SaveNew<Kind>         10,000 new records into an empty table
//   SaveUnchanged<Kind>   the same 10,000 again, now stored: each is looked up, read back,
//                         merged and written again (these classes update every found record)
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_shop.h"
#include "bench/raw_batch_save.h"
#include "domain/item_qty_table.h"
#include "domain/item_type_table.h"
#include "domain/merchant_table.h"
#include "domain/purchase_table.h"
#include "domain/sale_order_summary_table.h"
#include "domain/sale_order_table.h"
#include "domain/user_table.h"
#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "qmxdao/dao/MerchantDAOImpl.h"
#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/dao/UserDAOImpl.h"

namespace {

using namespace QMXDataDomain;
using qmxdao::NewRecordId;
using qmxdao::NewRecordStamp;
using qmxdao::RecordPolicy;

constexpr int kRecords = 10000;

// Each class's save policy, as its data-access class sets it.
template <typename T>
RecordPolicy<T> policyOf(const qmxdao::RecordTable<T>& table, QMXDAO::enDBNameType file,
                         const wchar_t* lookupSql, std::vector<qmxdao::Member<T>> keys,
                         NewRecordStamp stamp, NewRecordId newId) {
  RecordPolicy<T> policy = qmxdao::genericPolicy(table, file);
  policy.lookupSql = lookupSql;
  policy.keyMembers = std::move(keys);
  policy.stamp = stamp;
  policy.newId = newId;
  return policy;
}

struct ItemTypes {
  using Record = ___ITEM_TYPE;
  using Dao = QMXDAO::ItemTypeDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::itemTypeTable(), QMXDAO::DBNAME_MAIN,
                    L"select * from ITEM_TYPE where [SEQ_ID]=? and [ORG]=?",
                    {&Record::SEQ_ID, &Record::ORG}, NewRecordStamp::kBothTimes,
                    NewRecordId::kTableAssigns);
  }
};

struct ItemQuantities {
  using Record = ___ITEM_QTY;
  using Dao = QMXDAO::ItemQtyDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::itemQtyTable(), QMXDAO::DBNAME_MAIN,
                    L"select * from ITEM_QTY where  [EXT1]=? and [EXT2]=?",
                    {&Record::EXT1, &Record::EXT2}, NewRecordStamp::kBothTimes,
                    NewRecordId::kLargestPlusOne);
  }
};

struct Merchants {
  using Record = ___MERCHANT_INFO;
  using Dao = QMXDAO::MerchantDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::merchantTable(), QMXDAO::DBNAME_MAIN,
                    L"select * from MERCHANT_INFO where [GUID]=?", {&Record::GUID},
                    NewRecordStamp::kCreateTimeWhenEmpty, NewRecordId::kTableAssigns);
  }
};

struct Purchases {
  using Record = ___PURCHASE_INFO;
  using Dao = QMXDAO::PurchaseDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::purchaseTable(), QMXDAO::DBNAME_MAIN,
                    L"select * from PURCHASE_INFO where [RAND_ID]=? and [CREATE_USER]=?",
                    {&Record::RAND_ID, &Record::CREATE_USER}, NewRecordStamp::kCreateTimeWhenEmpty,
                    NewRecordId::kLargestPlusOne);
  }
};

struct SaleOrderLines {
  using Record = ___SALE_ORDER;
  using Dao = QMXDAO::SaleOrderDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::saleOrderTable(), QMXDAO::DBNAME_SALE,
                    L"select * from SALE_ORDER where [RAND_ID]=? and [UPC]=?",
                    {&Record::RAND_ID, &Record::UPC}, NewRecordStamp::kNone,
                    NewRecordId::kTableAssigns);
  }
};

struct SaleOrderSummaries {
  using Record = ___SALE_ORDER_SUMMARY;
  using Dao = QMXDAO::SaleOrderSummaryDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::saleOrderSummaryTable(), QMXDAO::DBNAME_SALE,
                    L"select * from SALE_ORDER_SUMMARY where [RAND_ID]=?", {&Record::RAND_ID},
                    NewRecordStamp::kBothTimes, NewRecordId::kTableAssigns);
  }
};

struct Users {
  using Record = ___USER;
  using Dao = QMXDAO::UserDAOImpl;
  static RecordPolicy<Record> policy() {
    return policyOf(qmxdao::userTable(), QMXDAO::DBNAME_MAIN,
                    L"select * from USER where [USERNAME]=? and [ORG]=?",
                    {&Record::USERNAME, &Record::ORG}, NewRecordStamp::kBothTimes,
                    NewRecordId::kTableAssigns);
  }
};

template <typename Kind>
const RecordPolicy<typename Kind::Record>& policy() {
  static const RecordPolicy<typename Kind::Record> policy = Kind::policy();
  return policy;
}

// kRecords records with every column filled: each text its column's name and the record's
// number (so every natural key is distinct), the organisation one of ten shops, small numbers.
// The times are left to the save's stamp, or given as a till gives them where it stamps none.
template <typename Kind>
const std::vector<typename Kind::Record>& newRecords() {
  using Record = typename Kind::Record;
  static const std::vector<Record> records = [] {
    std::vector<Record> list(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      const std::wstring n = std::to_wstring(i);
      for (const qmxdao::Column<Record>& column : policy<Kind>().table->columns()) {
        const std::wstring name = column.name;
        std::visit(
            [&](auto member) {
              using Value = std::decay_t<decltype(list[i].*member)>;
              if constexpr (std::is_same_v<Value, std::wstring>) {
                if (name == L"ORG") {
                  list[i].*member = L"shop" + std::to_wstring(i % 10);
                } else if (name != L"CREATE_TIME" && name != L"UPDATE_TIME") {
                  list[i].*member = name + L"-" + n;
                } else if (policy<Kind>().stamp == NewRecordStamp::kNone) {
                  list[i].*member = L"2015-03-07 09:05:01";
                }
              } else if constexpr (std::is_same_v<Value, float>) {
                list[i].*member = 0.5f + static_cast<float>(i % 500) * 0.25f;
              } else if constexpr (std::is_same_v<Value, int>) {
                list[i].*member = i % 7;
              }
            },
            column.member);
      }
    }
    return list;
  }();
  return records;
}

template <typename Kind>
void emptyTable() {
  qmxbench::rawShop(policy<Kind>().file);
  qmxbench::keepFirstRows(policy<Kind>().table->name(), 0, policy<Kind>().file);
}

template <typename Kind>
long long rowCount() {
  return QMXDAO::Utility::GetItemCount(policy<Kind>().table->name(), L"", policy<Kind>().file);
}

template <typename Kind>
void finish(benchmark::State& state) {
  if (rowCount<Kind>() != kRecords) state.SkipWithError("wrong row count");
  emptyTable<Kind>();
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// Each iteration saves a copy of the records made while the clock is paused (the library's save
// takes its vector by value: that copy is the caller's), into an empty table or, with `stored`,
// into the table holding them already.
template <typename Kind, typename Save>
void timedSaves(benchmark::State& state, bool stored, Save save) {
  if (stored) {
    emptyTable<Kind>();
    qmxbench::RawBatchSave<typename Kind::Record>(policy<Kind>()).save(newRecords<Kind>());
  }
  for (auto _ : state) {
    state.PauseTiming();
    if (!stored) emptyTable<Kind>();
    std::vector<typename Kind::Record> records = newRecords<Kind>();
    state.ResumeTiming();
    save(std::move(records));
  }
  finish<Kind>(state);
}

template <typename Kind>
void librarySaves(benchmark::State& state, bool stored) {
  typename Kind::Dao dao;
  timedSaves<Kind>(state, stored, [&](auto records) { dao.save(std::move(records)); });
}

template <typename Kind>
void rawSaves(benchmark::State& state, bool stored) {
  qmxbench::RawBatchSave<typename Kind::Record> raw(policy<Kind>());
  timedSaves<Kind>(state, stored, [&](auto records) {
    const std::size_t count = records.size();
    if (raw.save(std::move(records)) != (stored ? count : 0)) state.SkipWithError("wrong group");
  });
}

template <typename Kind>
void BM_SaveNew_Library(benchmark::State& state) {
  librarySaves<Kind>(state, false);
}
template <typename Kind>
void BM_SaveNew_Sqlcipher(benchmark::State& state) {
  rawSaves<Kind>(state, false);
}
template <typename Kind>
void BM_SaveUnchanged_Library(benchmark::State& state) {
  librarySaves<Kind>(state, true);
}
template <typename Kind>
void BM_SaveUnchanged_Sqlcipher(benchmark::State& state) {
  rawSaves<Kind>(state, true);
}

#define QMX_SAVE_BENCHMARKS(Kind)                                                           \
  BENCHMARK_TEMPLATE(BM_SaveNew_Library, Kind)->Apply(qmxbench::timedInMilliseconds);       \
  BENCHMARK_TEMPLATE(BM_SaveNew_Sqlcipher, Kind)->Apply(qmxbench::timedInMilliseconds);     \
  BENCHMARK_TEMPLATE(BM_SaveUnchanged_Library, Kind)->Apply(qmxbench::timedInMilliseconds); \
  BENCHMARK_TEMPLATE(BM_SaveUnchanged_Sqlcipher, Kind)->Apply(qmxbench::timedInMilliseconds)

QMX_SAVE_BENCHMARKS(ItemTypes);
QMX_SAVE_BENCHMARKS(ItemQuantities);
QMX_SAVE_BENCHMARKS(Merchants);
QMX_SAVE_BENCHMARKS(Purchases);
QMX_SAVE_BENCHMARKS(SaleOrderLines);
QMX_SAVE_BENCHMARKS(SaleOrderSummaries);
QMX_SAVE_BENCHMARKS(Users);

}  // namespace
