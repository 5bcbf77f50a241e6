// A missing database file: the library opens existing files only. Every call of the record classes,
// of Utility and DBConnection fails with the engine's "unable to open database file" (14) and
// leaves the db folder empty for the installation to come.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <typeinfo>

#include "QMXDAOService.h"
#include "testing/temp_shop.h"

using namespace QMXDAO;

TEST(MissingFile, NoCallCreatesADatabaseFile) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kEmptyDbFolder);
  // The code the call failed with (0: it returned), or -1 when it left something in the folder.
  auto codeOf = [&](const std::function<void()>& call) {
    int code = 0;
    try {
      call();
    } catch (const CppSQLite3Exception& e) {
      code = e.errorCode();
    }
    return std::filesystem::is_empty(shop.dbFolder()) ? code : -1;
  };
  auto everyOperation = [&](auto&& dao, int readCode) {
    using T = decltype(dao.findById(1));
    SCOPED_TRACE(typeid(T).name());
    EXPECT_EQ(codeOf([&] { dao.add(T{}); }), 14);
    EXPECT_EQ(codeOf([&] { dao.update(T{}); }), 14);
    EXPECT_EQ(codeOf([&] { dao.save(T{}); }), 14);
    EXPECT_EQ(codeOf([&] { dao.delet(1); }), readCode);
    EXPECT_EQ(codeOf([&] { dao.count(); }), readCode);
    EXPECT_EQ(codeOf([&] { dao.findById(1); }), readCode);
    EXPECT_EQ(codeOf([&] { dao.findBySQL(L"SELECT 1"); }), readCode);
  };
  everyOperation(CustomerDAOImpl(), 14);
  everyOperation(ItemDAOImpl(), 14);
  everyOperation(ItemTypeDAOImpl(), 14);
  everyOperation(ItemQtyDAOImpl(), 14);
  everyOperation(MerchantDAOImpl(), 14);
  everyOperation(PurchaseDAOImpl(), 14);
  everyOperation(SaleOrderDAOImpl(), 0);  // its reads keep failures to themselves
  everyOperation(SaleOrderSummaryDAOImpl(), 14);
  everyOperation(UserDAOImpl(), 14);
  EXPECT_EQ(codeOf([] { CustomerDAOImpl().countNoKey(); }), 14);
  EXPECT_EQ(codeOf([] { CustomerDAOImpl().findBySQLNoKey(L"SELECT 1"); }), 14);
  EXPECT_EQ(codeOf([&] { Utility::GetDBVersion(shop.mainFile().wstring()); }), 14);
  EXPECT_EQ(codeOf([] { DBConnection connection; }), 14);
  for (enDBNameType type : {DBNAME_DEFAULT, DBNAME_MAIN, DBNAME_SALE}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(codeOf([&] { Utility::execDML(L"CREATE TABLE T (V)", type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::SearchBySQL(L"SELECT 1", type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::GetItemCount(L"T", L"", type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::GetDBVersion(type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::GetCreateSQLByTableName(L"T", type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::GetCreateIndexByTableName(L"T", type); }), 14);
    EXPECT_EQ(codeOf([&] { Utility::ResetDBKey(L"", L"", type); }), 14);
  }
}
