// A small application on the installed library: it saves a customer, finds it again, pages
// through the table and runs its own SQL. It works on db/QMX.db in the folder of its own
// executable, which "qmxdb init" creates.
#include <QMXDAOService.h>

#include <clocale>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

// Wide text for a narrow console, in the encoding of the user's locale.
std::string narrow(std::wstring text) {
  const char* converted = QMXDAO::Utility::get_value_string(text);
  return converted != nullptr ? converted : "";
}

int main() {
  std::setlocale(LC_ALL, "");
  QMXDAO::Utility::InitDB();  // once, before any database work

  // The library never creates files or tables: the installation does.
  const std::wstring mainFile = QMXDAO::Utility::GetDBName(QMXDAO::DBNAME_MAIN);
  if (!std::filesystem::exists(std::filesystem::path(mainFile))) {
    std::cerr << narrow(mainFile) << " is missing: put a copy of qmxdb beside this program "
              << "and run \"qmxdb init\" there\n";
    QMXDAO::Utility::QuitDB();
    return 1;
  }

  try {
    // Create and save: save inserts the customer, or updates the stored one with its ORG and ID.
    QMXDAO::CustomerDAOImpl customers;
    QMXDataDomain::___CUSTOMER customer;
    customer.ID = 1;
    customer.ORG = L"shop-1";
    customer.CUSTOMER_NAME = L"Li Lei";
    customer.MOBILE = L"138-0000-0001";
    customers.save(customer);

    // Find: by ID, or with a SELECT on the record's table.
    QMXDataDomain::___CUSTOMER stored = customers.findById(1);
    std::cout << "customer " << stored.ID << ": " << narrow(stored.CUSTOMER_NAME) << ", saved "
              << narrow(stored.UPDATE_TIME) << '\n';
    std::vector<QMXDataDomain::___CUSTOMER> inShop =
        customers.findBySQL(L"select * from CUSTOMER where ORG='shop-1'");
    std::cout << inShop.size() << " customer(s) in shop-1, " << customers.count() << " in all\n";

    // Page: the library writes the paging SQL into the caller's buffer.
    wchar_t pageSql[256];
    QMXDAO::Utility::BuildPagerSql(L"CUSTOMER", 10, 1, L"ID", true, L"ORG='shop-1'", pageSql);
    for (auto& row : QMXDAO::Utility::SearchBySQL(pageSql, QMXDAO::DBNAME_MAIN)) {
      std::cout << "  " << narrow(row[L"ID"]) << "  " << narrow(row[L"CUSTOMER_NAME"]) << '\n';
    }

    // Own SQL: rows come back as maps from column name to text.
    auto rows =
        QMXDAO::Utility::SearchBySQL(L"select count(*) as N from ITEM", QMXDAO::DBNAME_MAIN);
    std::cout << narrow(rows.at(0)[L"N"]) << " item(s) in the catalogue\n";
  } catch (const CppSQLite3Exception& e) {
    // Engine failures: a wrong key, a missing table, a file busy for too long.
    std::cerr << "error " << e.what() << '\n';
    QMXDAO::Utility::QuitDB();
    return 1;
  }

  QMXDAO::Utility::QuitDB();  // once, after the last
  return 0;
}
