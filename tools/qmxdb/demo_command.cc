#include <CLI/CLI.hpp>

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <vector>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/demo_day.h"
#include "tools/qmxdb/record_kinds.h"
#include "tools/qmxdb/table_printer.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

using QMXDAO::Utility;
using Rows = std::vector<std::map<std::wstring, std::wstring>>;

constexpr int kItemsPerPage = 5;

// The demonstration works on the installation's files; a fresh folder gets them first.
void makeFilesWhenMissing() {
  const auto folderType = static_cast<QMXDAO::enDBNameType>(QMXDAO::DBNAME_SALE + 1);
  const std::wstring folder = Utility::GetDBName(folderType);
  if (!std::filesystem::exists(filePath(folder + L"QMX.db")) &&
      !std::filesystem::exists(filePath(folder + L"SALE.db"))) {
    createDatabaseFiles(folder);
    std::cout << "created " << toUtf8(folder) << "QMX.db and SALE.db\n";
  }
}

// Prints the named columns of rows, in that order.
void printColumns(const Rows& rows, const std::vector<std::wstring>& columns) {
  std::vector<std::string> header;
  for (const std::wstring& column : columns) header.push_back(toUtf8(column));
  std::vector<std::vector<std::string>> lines;
  for (const auto& row : rows) {
    std::vector<std::string> cells;
    for (const std::wstring& column : columns) {
      auto field = row.find(column);
      cells.push_back(field == row.end() ? "" : toUtf8(field->second));
    }
    lines.push_back(cells);
  }
  printTable(std::cout, header, lines);
}

void printRowCounts() {
  std::cout << "\nRows per table (Utility::GetItemCount)\n";
  std::vector<std::vector<std::string>> lines;
  for (const RecordKind& kind : recordKinds()) {
    const long long all = Utility::GetItemCount(fromUtf8(kind.table), L"", kind.file);
    lines.push_back(
        {kind.table, kind.file == QMXDAO::DBNAME_SALE ? "SALE.db" : "QMX.db", std::to_string(all)});
  }
  printTable(std::cout, {"table", "file", "rows"}, lines);
}

void printItemPage() {
  const std::wstring condition = std::wstring(L"ORG='") + kDemoShop + L"'";
  const long long items = Utility::GetItemCount(L"ITEM", condition, QMXDAO::DBNAME_MAIN);
  const long long pages = (items + kItemsPerPage - 1) / kItemsPerPage;
  wchar_t sql[512];
  Utility::BuildPagerSql(L"ITEM", kItemsPerPage, 1, L"UPC", true, condition.c_str(), sql);
  std::cout << "\nThe catalogue, page 1 of " << pages << " (Utility::BuildPagerSql: " << toUtf8(sql)
            << ")\n";
  printColumns(Utility::SearchBySQL(sql, QMXDAO::DBNAME_MAIN),
               {L"UPC", L"ITEM_NAME", L"STANDART", L"SALE_PRICE", L"MEM_PRICE", L"UPDATE_TIME"});

  std::cout << "\nStock left in the main store\n";
  printColumns(Utility::SearchBySQL(L"select i.ITEM_NAME, q.PUR_NUM as BOUGHT, q.SALE_NUM as SOLD, "
                                    L"q.SALE_RETURN as RETURNED, q.QTY as IN_STOCK from ITEM_QTY q "
                                    L"join ITEM i on i.UPC = q.EXT1 and i.ORG = '" +
                                        std::wstring(kDemoShop) +
                                        L"' where q.EXT2 = 'main-store' order by q.QTY, i.UPC",
                                    QMXDAO::DBNAME_MAIN),
               {L"ITEM_NAME", L"BOUGHT", L"SOLD", L"RETURNED", L"IN_STOCK"});
}

void printTakings() {
  const std::wstring shop = std::wstring(L"'") + kDemoShop + L"'";
  std::cout << "\nThe day's sales (Utility::SearchBySQL on SALE.db)\n";
  printColumns(Utility::SearchBySQL(L"select RAND_ID, ORDER_TYPE, CUSTOMER_ID, CREATE_USER, "
                                    L"SALE_SUM_NUM as ITEMS, printf('%.2f', TOTAL_PRICE) as TOTAL "
                                    L"from SALE_ORDER_SUMMARY where ORG=" +
                                        shop + L" order by RAND_ID",
                                    QMXDAO::DBNAME_SALE),
               {L"RAND_ID", L"ORDER_TYPE", L"CUSTOMER_ID", L"CREATE_USER", L"ITEMS", L"TOTAL"});
  const Rows takings = Utility::SearchBySQL(
      L"select printf('%.2f', total(TOTAL_PRICE)) as TAKINGS, "
      L"printf('%.2f', total(case when TOTAL_PRICE < 0 then -TOTAL_PRICE else 0 end)) as REFUNDS "
      L"from SALE_ORDER_SUMMARY where ORG=" +
          shop,
      QMXDAO::DBNAME_SALE);
  const Rows profit = Utility::SearchBySQL(
      L"select printf('%.2f', total(SALE_PROFIT)) as PROFIT from SALE_ORDER where ORG=" + shop,
      QMXDAO::DBNAME_SALE);
  std::cout << "takings " << toUtf8(takings.at(0).at(L"TAKINGS")) << " (after "
            << toUtf8(takings.at(0).at(L"REFUNDS")) << " refunded), gross profit "
            << toUtf8(profit.at(0).at(L"PROFIT")) << '\n';
}

}  // namespace

CommandRun declareDemo(CLI::App&) {
  return [] {
    makeFilesWhenMissing();
    const DemoDay day = runDemoDay();
    std::cout << "A day at " << toUtf8(kDemoShop) << ", " << toUtf8(Utility::GetNowTime()) << '\n'
              << "  registered " << day.merchants << " merchants, " << day.itemTypes
              << " item types, " << day.items << " items with their stock, " << day.members
              << " members and " << day.users << " users\n"
              << "  bought stock: " << day.purchases << " purchases, " << std::fixed
              << std::setprecision(2) << day.paidForStock << " paid\n"
              << "  rang up " << day.sales << " sales and " << day.returns << " return ("
              << day.saleLines << " sale lines)\n"
              << "  new prices, saved with the whole catalogue:\n";
    for (const std::string& change : day.priceChanges) std::cout << "    " << change << '\n';
    printRowCounts();
    printItemPage();
    printTakings();
    return 0;
  };
}

}  // namespace qmxdb
