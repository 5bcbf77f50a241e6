// One day of a small shop, run through the library's own data-access classes: the morning's
// registrations (merchants, item types, the catalogue with its stock, members, staff), buying
// stock, the day's sales with one return, and the evening's price changes saved through the
// catalogue's batch save. Every record carries a fixed natural key, so a second run finds the
// first run's rows and updates them instead of adding more.
#pragma once

#include <string>
#include <vector>

namespace qmxdb {

// The organisation whose rows the demonstration writes.
extern const wchar_t kDemoShop[];

struct DemoDay {
  int merchants = 0;
  int itemTypes = 0;
  int items = 0;
  int members = 0;
  int users = 0;
  int purchases = 0;
  double paidForStock = 0;
  int sales = 0;
  int returns = 0;
  int saleLines = 0;
  std::vector<std::string> priceChanges;  // "Banana 1 kg: 6.80 -> 6.50"
};

DemoDay runDemoDay();

}  // namespace qmxdb
