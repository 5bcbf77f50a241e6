#include "tools/qmxdb/record_kinds.h"

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "qmxdao/dao/MerchantDAOImpl.h"
#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/dao/UserDAOImpl.h"

namespace qmxdb {
namespace {

template <typename Record, typename Dao>
std::unique_ptr<RecordBatch> newBatchOf() {
  return std::make_unique<RecordBatchOf<Record, Dao>>();
}

}  // namespace

const std::vector<RecordKind>& recordKinds() {
  using namespace QMXDataDomain;
  using namespace QMXDAO;
  static const std::vector<RecordKind> kinds = {
      {"MERCHANT_INFO", DBNAME_MAIN, newBatchOf<___MERCHANT_INFO, MerchantDAOImpl>},
      {"ITEM_TYPE", DBNAME_MAIN, newBatchOf<___ITEM_TYPE, ItemTypeDAOImpl>},
      {"ITEM", DBNAME_MAIN, newBatchOf<___ITEM, ItemDAOImpl>},
      {"ITEM_QTY", DBNAME_MAIN, newBatchOf<___ITEM_QTY, ItemQtyDAOImpl>},
      {"CUSTOMER", DBNAME_MAIN, newBatchOf<___CUSTOMER, CustomerDAOImpl>},
      {"USER", DBNAME_MAIN, newBatchOf<___USER, UserDAOImpl>},
      {"PURCHASE_INFO", DBNAME_MAIN, newBatchOf<___PURCHASE_INFO, PurchaseDAOImpl>},
      {"SALE_ORDER", DBNAME_SALE, newBatchOf<___SALE_ORDER, SaleOrderDAOImpl>},
      {"SALE_ORDER_SUMMARY", DBNAME_SALE,
       newBatchOf<___SALE_ORDER_SUMMARY, SaleOrderSummaryDAOImpl>},
  };
  return kinds;
}

const RecordKind* findRecordKind(const std::string& table) {
  for (const RecordKind& kind : recordKinds()) {
    if (table == kind.table) return &kind;
  }
  return nullptr;
}

std::string recordTableNames() {
  std::string names;
  for (const RecordKind& kind : recordKinds()) {
    if (!names.empty()) names += ", ";
    names += kind.table;
  }
  return names;
}

}  // namespace qmxdb
