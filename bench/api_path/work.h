// The work both paths do, written once: compiled once over the exported classes and once over
// the portable layer (QMXDAO_PORTABLE_API), each with its own copy of the classes.
#pragma once

#include <string>
#include <vector>

#include "QMXDAOService.h"

namespace qmxbench {

inline std::vector<QMXDataDomain::___CUSTOMER> newCustomers(int count) {
  std::vector<QMXDataDomain::___CUSTOMER> customers(count);
  for (int i = 0; i < count; ++i) {
    QMXDataDomain::___CUSTOMER& c = customers[i];
    c.ID = i + 1;
    c.ORG = L"shop-1";
    c.CUSTOMER_NAME = L"customer " + std::to_wstring(i + 1);
    c.MOBILE = L"138" + std::to_wstring(10000000 + i);
    c.ADDR = L"No. " + std::to_wstring(i % 300) + L" Market Street, Jinan";
    c.CARDNUM = L"VIP-" + std::to_wstring(900000 + i);
    c.INTEGRAL = static_cast<float>(i % 1000) * 1.5f;
  }
  return customers;
}

// Empties CUSTOMER, then (timed by the caller) saves count new customers in one batch.
inline bool saveCustomers(const std::vector<QMXDataDomain::___CUSTOMER>& customers) {
  QMXDAO::CustomerDAOImpl dao;
  return dao.save(customers);
}

inline long long findEach(int count) {
  QMXDAO::CustomerDAOImpl dao;
  long long found = 0;
  for (int id = 1; id <= count; ++id) found += dao.findById(id).ID;
  return found;
}

inline std::size_t findAll() {
  QMXDAO::CustomerDAOImpl dao;
  return dao.findBySQL(L"select * from CUSTOMER").size();
}

}  // namespace qmxbench
