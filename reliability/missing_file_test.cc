// A missing database file: the library opens existing files only. Every call of every record class
// and of Utility fails with the engine's "unable to open database file" (or, for the reads that
// keep failures to themselves, gives nothing) and leaves the db folder as empty as it found it, so
// that the installation can still be made afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "QMXDAOService.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"

namespace {

namespace fs = std::filesystem;
using qmxdao::test::TempShop;

// Runs call; it must throw code 14 (or, when quiet, may return) and leave the folder empty.
void expectNothingCreated(const TempShop& shop, const std::string& name,
                          const std::function<void()>& call, bool quiet = false) {
  SCOPED_TRACE(name);
  try {
    call();
    EXPECT_TRUE(quiet) << "returned without an error";
  } catch (const CppSQLite3Exception& e) {
    EXPECT_EQ(e.errorCode(), 14);
  }
  EXPECT_TRUE(fs::is_empty(shop.dbFolder()));
}

template <typename Dao, typename Record>
void everyOperation(const TempShop& shop, const std::string& name, bool readsQuiet = false) {
  Dao dao;
  expectNothingCreated(shop, name + " add", [&] { dao.add(Record{}); });
  expectNothingCreated(shop, name + " update", [&] { dao.update(Record{}); });
  expectNothingCreated(shop, name + " save", [&] { dao.save(Record{}); });
  expectNothingCreated(
      shop, name + " delet", [&] { dao.delet(1); }, readsQuiet);
  expectNothingCreated(
      shop, name + " count", [&] { dao.count(); }, readsQuiet);
  expectNothingCreated(
      shop, name + " findById", [&] { dao.findById(1); }, readsQuiet);
  expectNothingCreated(
      shop, name + " findBySQL", [&] { dao.findBySQL(L"SELECT 1"); }, readsQuiet);
}

TEST(MissingFile, NoCallCreatesADatabaseFile) {
  using namespace QMXDAO;
  using namespace QMXDataDomain;
  TempShop shop(TempShop::Layout::kEmptyDbFolder);
  everyOperation<CustomerDAOImpl, ___CUSTOMER>(shop, "customer");
  everyOperation<ItemDAOImpl, ___ITEM>(shop, "item");
  everyOperation<ItemTypeDAOImpl, ___ITEM_TYPE>(shop, "item type");
  everyOperation<ItemQtyDAOImpl, ___ITEM_QTY>(shop, "item quantity");
  everyOperation<MerchantDAOImpl, ___MERCHANT_INFO>(shop, "merchant");
  everyOperation<PurchaseDAOImpl, ___PURCHASE_INFO>(shop, "purchase");
  everyOperation<SaleOrderDAOImpl, ___SALE_ORDER>(shop, "sale order line", true);
  everyOperation<SaleOrderSummaryDAOImpl, ___SALE_ORDER_SUMMARY>(shop, "sale order summary");
  everyOperation<UserDAOImpl, ___USER>(shop, "user");
  CustomerDAOImpl customers;
  expectNothingCreated(shop, "countNoKey", [&] { customers.countNoKey(); });
  expectNothingCreated(shop, "findBySQLNoKey", [&] { customers.findBySQLNoKey(L"SELECT 1"); });

  for (enDBNameType type : {DBNAME_DEFAULT, DBNAME_MAIN, DBNAME_SALE}) {
    expectNothingCreated(shop, "execDML", [&] { Utility::execDML(L"CREATE TABLE T (V)", type); });
    expectNothingCreated(shop, "SearchBySQL", [&] { Utility::SearchBySQL(L"SELECT 1", type); });
    expectNothingCreated(shop, "GetItemCount", [&] { Utility::GetItemCount(L"T", L"", type); });
    expectNothingCreated(shop, "GetDBVersion", [&] { Utility::GetDBVersion(type); });
    expectNothingCreated(shop, "GetCreateSQLByTableName",
                         [&] { Utility::GetCreateSQLByTableName(L"T", type); });
    expectNothingCreated(shop, "GetCreateIndexByTableName",
                         [&] { Utility::GetCreateIndexByTableName(L"T", type); });
    expectNothingCreated(shop, "ResetDBKey", [&] { Utility::ResetDBKey(L"", L"", type); });
  }
  expectNothingCreated(shop, "GetDBVersion(path)",
                       [&] { Utility::GetDBVersion(shop.mainFile().wstring()); });
  expectNothingCreated(shop, "DBConnection", [] { DBConnection connection; });

  // The installation can still be made, and then the same calls work.
  qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");
  EXPECT_TRUE(CustomerDAOImpl().save(___CUSTOMER{}));
  EXPECT_EQ(CustomerDAOImpl().count(), 1);
}

}  // namespace
