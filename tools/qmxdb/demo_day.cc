#include "tools/qmxdb/demo_day.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "qmxdao/dao/MerchantDAOImpl.h"
#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/dao/UserDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

const wchar_t kDemoShop[] = L"demo-shop";

namespace {

using namespace QMXDataDomain;
using QMXDAO::Utility;

const wchar_t kStore[] = L"main-store";

struct Product {
  const wchar_t* upc;
  const wchar_t* name;
  const wchar_t* standard;
  const wchar_t* unit;
  const wchar_t* typeSeq;
  int typeNumber;
  const wchar_t* merchant;
  float purchasePrice;
  float salePrice;
  float memberPrice;
  float boughtToday;
};

const Product kCatalogue[] = {
    {L"6901000000011", L"Apples", L"1 kg bag", L"bag", L"01", 1, L"demo-merchant-farm", 6.0f, 9.5f,
     9.0f, 40},
    {L"6901000000028", L"Bananas", L"1 kg", L"kg", L"01", 1, L"demo-merchant-farm", 4.0f, 6.8f,
     6.5f, 30},
    {L"6901000000035", L"Tomatoes", L"500 g tray", L"tray", L"01", 1, L"demo-merchant-farm", 3.2f,
     5.5f, 5.0f, 25},
    {L"6902000000017", L"Mineral water", L"550 ml", L"bottle", L"02", 2, L"demo-merchant-drinks",
     0.9f, 2.0f, 1.8f, 120},
    {L"6902000000024", L"Orange juice", L"1 l", L"carton", L"02", 2, L"demo-merchant-drinks", 5.5f,
     9.9f, 9.5f, 24},
    {L"6902000000031", L"Green tea", L"500 ml", L"bottle", L"02", 2, L"demo-merchant-drinks", 2.2f,
     3.5f, 3.2f, 48},
    {L"6903000000013", L"Dish soap", L"500 ml", L"bottle", L"03", 3, L"demo-merchant-home", 6.0f,
     12.5f, 11.9f, 12},
    {L"6903000000020", L"Paper towels", L"6 rolls", L"pack", L"03", 3, L"demo-merchant-home", 9.0f,
     15.8f, 14.9f, 10},
};

// The evening's new prices.
const std::map<std::wstring, float> kNewPrices = {{L"6901000000028", 6.5f},
                                                  {L"6902000000031", 3.3f}};

struct Line {
  const wchar_t* upc;
  float count;
};

struct Sale {
  const wchar_t* key;
  long long member;  // 0: a walk-in customer
  const wchar_t* cashier;
  const wchar_t* returnOf;  // the sale a return takes goods back from; null for a sale
  std::vector<Line> lines;
};

const Sale kSales[] = {
    {L"demo-sale-0001",
     1001,
     L"cashier-anna",
     nullptr,
     {{L"6901000000011", 2}, {L"6902000000024", 2}, {L"6902000000017", 6}}},
    {L"demo-sale-0002",
     0,
     L"cashier-anna",
     nullptr,
     {{L"6903000000013", 1}, {L"6902000000031", 4}}},
    {L"demo-sale-0003",
     1002,
     L"cashier-ben",
     nullptr,
     {{L"6903000000020", 1}, {L"6901000000028", 3}, {L"6901000000035", 2}}},
    {L"demo-sale-0004", 0, L"cashier-ben", nullptr, {{L"6902000000017", 12}}},
    {L"demo-return-0001", 1001, L"cashier-ben", L"demo-sale-0001", {{L"6902000000024", 1}}},
};

const Product& product(const std::wstring& upc) {
  for (const Product& p : kCatalogue) {
    if (upc == p.upc) return p;
  }
  return kCatalogue[0];
}

float cents(double value) { return static_cast<float>(std::round(value * 100) / 100); }

std::string money(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::vector<___MERCHANT_INFO> merchants(const std::wstring& now) {
  struct Row {
    const wchar_t *guid, *name, *contact, *tel;
  };
  const Row rows[] = {
      {L"demo-merchant-farm", L"Green Valley Farm", L"Mei Chen", L"0571-8800-1001"},
      {L"demo-merchant-drinks", L"Riverside Drinks", L"Tom Walsh", L"0571-8800-2002"},
      {L"demo-merchant-home", L"Homeware Supply", L"Sara Lind", L"0571-8800-3003"},
  };
  std::vector<___MERCHANT_INFO> out;
  for (const Row& row : rows) {
    ___MERCHANT_INFO m;
    m.GUID = row.guid;
    m.NAME = row.name;
    m.CONTACTS = row.contact;
    m.TEL = row.tel;
    m.ORG = kDemoShop;
    m.CREATE_TIME = now;
    m.UPDATE_TIME = now;
    out.push_back(m);
  }
  return out;
}

std::vector<___ITEM_TYPE> itemTypes(const std::wstring& now) {
  const std::pair<const wchar_t*, const wchar_t*> rows[] = {
      {L"01", L"Fruit and vegetables"}, {L"02", L"Drinks"}, {L"03", L"Household"}};
  std::vector<___ITEM_TYPE> out;
  for (const auto& row : rows) {
    ___ITEM_TYPE t;
    t.SEQ_ID = row.first;
    t.TYPE_NAME = row.second;
    t.ORG = kDemoShop;
    t.CREATE_TIME = now;
    t.UPDATE_TIME = now;
    out.push_back(t);
  }
  return out;
}

// The catalogue as the shop lists it in the morning. An item's batch save writes the time texts
// it is given, so the stored creation time is carried over for items the shop lists already.
std::vector<___ITEM> catalogue(const std::map<std::wstring, ___ITEM>& stored,
                               const std::wstring& now) {
  std::vector<___ITEM> out;
  for (const Product& p : kCatalogue) {
    ___ITEM item;
    item.UPC = p.upc;
    item.ORG = kDemoShop;
    item.ITEM_NAME = p.name;
    item.STANDART = p.standard;
    item.UNIT_ID = p.unit;
    item.TYPEID = p.typeSeq;
    item.ITEM_TYPE_ID = p.typeNumber;
    item.MERCHANT_ID = p.merchant;
    item.PUR_PRICE = p.purchasePrice;
    item.SALE_PRICE = p.salePrice;
    item.MEM_PRICE = p.memberPrice;
    item.DISCOUNT_RATE = 1.0f;
    item.CREATUSER = L"manager";
    auto known = stored.find(p.upc);
    item.CREATE_TIME = known != stored.end() ? known->second.CREATE_TIME : L"";
    item.UPDATE_TIME = now;
    out.push_back(item);
  }
  return out;
}

std::map<std::wstring, ___ITEM> storedCatalogue() {
  QMXDAO::ItemDAOImpl items;
  std::map<std::wstring, ___ITEM> byUpc;
  for (const ___ITEM& item : items.findBySQL(L"select * from ITEM where ORG='demo-shop'")) {
    byUpc[item.UPC] = item;
  }
  return byUpc;
}

std::vector<___CUSTOMER> members(const std::wstring& now) {
  struct Row {
    long long id;
    const wchar_t *name, *mobile, *card;
    float balance;
  };
  const Row rows[] = {
      {1001, L"Li Lei", L"138-0000-1001", L"M-1001", 50.0f},
      {1002, L"Han Meimei", L"138-0000-1002", L"M-1002", 20.0f},
      {1003, L"Jim Green", L"138-0000-1003", L"M-1003", 0.0f},
  };
  std::vector<___CUSTOMER> out;
  for (const Row& row : rows) {
    ___CUSTOMER c;
    c.ID = row.id;  // with ORG, the customer's natural key
    c.ORG = kDemoShop;
    c.CUSTOMER_NAME = row.name;
    c.MOBILE = row.mobile;
    c.CARDNUM = row.card;
    c.JAWBONEMONEY = row.balance;
    c.CREATE_USER = L"manager";
    c.CREATE_TIME = now;
    c.UPDATE_TIME = now;
    out.push_back(c);
  }
  return out;
}

std::vector<___USER> users(const std::wstring& now) {
  struct Row {
    const wchar_t *name, *full, *assistant;
  };
  const Row rows[] = {{L"manager", L"Wang Fang", L"0"},
                      {L"cashier-anna", L"Anna Berg", L"1"},
                      {L"cashier-ben", L"Ben Okafor", L"1"}};
  std::vector<___USER> out;
  for (const Row& row : rows) {
    ___USER u;
    u.USERNAME = row.name;
    u.ORG = kDemoShop;
    u.FULLNAME = row.full;
    u.ISSHOPASSISTANT = row.assistant;
    u.STATIONNAME = L"Demo Shop, Main Street";
    u.STATUS = L"active";
    u.CREATE_TIME = now;
    u.UPDATE_TIME = now;
    out.push_back(u);
  }
  return out;
}

struct StockFigures {
  float bought = 0;
  float sold = 0;
  float returned = 0;
};

std::vector<___ITEM_QTY> stock(const std::map<std::wstring, ___ITEM>& items,
                               const std::map<std::wstring, StockFigures>& figures,
                               const std::wstring& now) {
  std::vector<___ITEM_QTY> out;
  for (const Product& p : kCatalogue) {
    const StockFigures& f = figures.at(p.upc);
    ___ITEM_QTY q;
    q.EXT1 = p.upc;  // EXT1 and EXT2, item and store, are the stock row's natural key
    q.EXT2 = kStore;
    q.ITEM_ID = static_cast<int>(items.at(p.upc).ID);
    q.STORAGE_ID = 1;
    q.PUR_NUM = f.bought;
    q.SALE_NUM = f.sold;
    q.SALE_RETURN = f.returned;
    q.QTY = f.bought - f.sold + f.returned;
    q.PUR_RAND_ID = std::wstring(L"demo-purchase-") + p.upc;
    q.CREATE_TIME = now;
    q.UPDATE_TIME = now;
    out.push_back(q);
  }
  return out;
}

std::vector<___PURCHASE_INFO> purchases(const std::map<std::wstring, ___ITEM>& items,
                                        const std::wstring& now, double& paid) {
  std::vector<___PURCHASE_INFO> out;
  paid = 0;
  for (const Product& p : kCatalogue) {
    ___PURCHASE_INFO buy;
    buy.RAND_ID = std::wstring(L"demo-purchase-") + p.upc;
    buy.CREATE_USER = L"manager";  // with RAND_ID, the purchase's natural key
    buy.UPC = p.upc;
    buy.ITEM_ID = static_cast<int>(items.at(p.upc).ID);
    buy.MERCHANT_ID = p.merchant;
    buy.PURCHASE_NUM = p.boughtToday;
    buy.PUR_PRICE = p.purchasePrice;
    buy.TOTAL_PRICE = cents(p.boughtToday * p.purchasePrice);
    buy.PAID_PRICE = buy.TOTAL_PRICE;
    buy.PURCHASE_TIME = now;
    buy.CREATE_TIME = now;
    buy.UPDATE_TIME = now;
    paid += buy.TOTAL_PRICE;
    out.push_back(buy);
  }
  return out;
}

}  // namespace

DemoDay runDemoDay() {
  const std::wstring now = Utility::GetNowTime();
  DemoDay day;

  // Morning: suppliers, categories, the catalogue, members and staff.
  auto merchantRows = merchants(now);
  QMXDAO::MerchantDAOImpl().save(merchantRows);
  auto typeRows = itemTypes(now);
  QMXDAO::ItemTypeDAOImpl().save(typeRows);
  QMXDAO::ItemDAOImpl itemDao;
  itemDao.save(catalogue(storedCatalogue(), now));
  const std::map<std::wstring, ___ITEM> items = storedCatalogue();
  auto memberRows = members(now);
  QMXDAO::CustomerDAOImpl().save(memberRows);
  auto userRows = users(now);
  QMXDAO::UserDAOImpl().save(userRows);
  day.merchants = static_cast<int>(merchantRows.size());
  day.itemTypes = static_cast<int>(typeRows.size());
  day.items = static_cast<int>(items.size());
  day.members = static_cast<int>(memberRows.size());
  day.users = static_cast<int>(userRows.size());

  // Buying: one purchase per item, and the stock it makes.
  auto purchaseRows = purchases(items, now, day.paidForStock);
  QMXDAO::PurchaseDAOImpl().save(purchaseRows);
  day.purchases = static_cast<int>(purchaseRows.size());
  std::map<std::wstring, StockFigures> figures;
  for (const Product& p : kCatalogue) figures[p.upc].bought = p.boughtToday;
  QMXDAO::ItemQtyDAOImpl stockDao;
  stockDao.save(stock(items, figures, now));

  // Selling: members pay the member price; a return gives money back and takes its points.
  std::vector<___SALE_ORDER> lines;
  std::vector<___SALE_ORDER_SUMMARY> summaries;
  std::map<long long, int> points;
  for (const Sale& sale : kSales) {
    const bool isReturn = sale.returnOf != nullptr;
    float total = 0;
    float count = 0;
    for (const Line& line : sale.lines) {
      const Product& p = product(line.upc);
      const float price = sale.member != 0 ? p.memberPrice : p.salePrice;
      const float amount = cents(line.count * price);
      ___SALE_ORDER l;
      l.RAND_ID = sale.key;  // with UPC, the line's natural key
      l.UPC = line.upc;
      l.ITEM_ID = static_cast<int>(items.at(line.upc).ID);
      l.ORG = kDemoShop;
      l.SALE_USER = sale.cashier;
      l.CUSTOMER = sale.member != 0 ? std::to_wstring(sale.member) : L"";
      l.UNIT_ID = p.unit;
      l.SALE_PRICE = price;
      l.PUR_PRICE = p.purchasePrice;
      l.SALE_NUM = line.count;
      l.TOTAL_PRICE = isReturn ? -amount : amount;
      l.PAID_PRICE = l.TOTAL_PRICE;
      l.SALE_PROFIT = cents((price - p.purchasePrice) * line.count * (isReturn ? -1 : 1));
      l.RETURN_FLAG = isReturn ? 1 : 0;
      l.RETURN_SALE_NUM = isReturn ? line.count : 0;
      l.RETURN_RAND_ID = isReturn ? sale.returnOf : L"";
      l.SALE_TYPE = isReturn ? L"return" : L"sale";
      l.POS = L"till-1";
      l.SALE_TIME = now;
      l.CREATE_TIME = now;
      l.UPDATE_TIME = now;
      lines.push_back(l);
      total += l.TOTAL_PRICE;
      count += line.count;
      StockFigures& f = figures[line.upc];
      (isReturn ? f.returned : f.sold) += line.count;
    }
    ___SALE_ORDER_SUMMARY s;
    s.RAND_ID = sale.key;
    s.ORG = kDemoShop;
    s.CUSTOMER_ID = sale.member != 0 ? std::to_wstring(sale.member) : L"";
    s.ORDER_TYPE = isReturn ? L"return" : L"sale";
    s.ORIGINAL_RAND_ID = isReturn ? sale.returnOf : L"";
    s.CREATE_USER = sale.cashier;
    s.SALE_SUM_NUM = count;
    s.TOTAL_PRICE = cents(total);
    s.PAID_PRICE = s.TOTAL_PRICE;
    s.RETURN_TOTAL_PRICE = isReturn ? -s.TOTAL_PRICE : 0;
    const int earned = sale.member != 0 ? static_cast<int>(std::floor(std::fabs(total))) : 0;
    s.INTEGRAL = isReturn ? 0 : earned;
    s.RETURN_INTEGRAL = isReturn ? earned : 0;
    s.SALE_TIME = now;
    s.CREATE_TIME = now;
    s.UPDATE_TIME = now;
    summaries.push_back(s);
    if (sale.member != 0) points[sale.member] += isReturn ? -earned : earned;
    (isReturn ? day.returns : day.sales) += 1;
  }
  QMXDAO::SaleOrderDAOImpl().save(lines);
  QMXDAO::SaleOrderSummaryDAOImpl().save(summaries);
  day.saleLines = static_cast<int>(lines.size());

  // Evening: the members' points, the stock after the day, and new prices for two items saved
  // with the whole catalogue: the item's batch save leaves the unchanged items alone.
  for (___CUSTOMER& member : memberRows) member.INTEGRAL = static_cast<float>(points[member.ID]);
  QMXDAO::CustomerDAOImpl().save(memberRows);
  stockDao.save(stock(items, figures, now));
  std::vector<___ITEM> evening = catalogue(items, now);
  for (___ITEM& item : evening) {
    auto change = kNewPrices.find(item.UPC);
    if (change == kNewPrices.end()) continue;
    day.priceChanges.push_back(toUtf8(item.ITEM_NAME) + " " + toUtf8(item.STANDART) + ": " +
                               money(item.SALE_PRICE) + " -> " + money(change->second));
    item.SALE_PRICE = change->second;
  }
  itemDao.save(evening);
  return day;
}

}  // namespace qmxdb
