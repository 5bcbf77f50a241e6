// The nine record kinds of the C boundary: each kind's record type, column table and data-access
// class, and the conversion of a record to and from the boundary's array of qmxdao_value (one per
// column, in the table's order).
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "QMXDAOService.h"
#include "c_api/boundary.h"
#include "domain/customer_table.h"
#include "domain/item_qty_table.h"
#include "domain/item_table.h"
#include "domain/item_type_table.h"
#include "domain/merchant_table.h"
#include "domain/purchase_table.h"
#include "domain/sale_order_summary_table.h"
#include "domain/sale_order_table.h"
#include "domain/user_table.h"

namespace qmxdao::capi {

template <typename R, typename D>
struct Kind {
  using Record = R;
  using Dao = D;
  const RecordTable<R>& table;
};

// Calls use with the Kind of kind; an unknown kind is refused.
template <typename Use>
void withKind(int32_t kind, Use&& use) {
  using namespace QMXDataDomain;
  using namespace QMXDAO;
  switch (kind) {
    case QMXDAO_CUSTOMER:
      return use(Kind<___CUSTOMER, CustomerDAOImpl>{customerTable()});
    case QMXDAO_ITEM:
      return use(Kind<___ITEM, ItemDAOImpl>{itemTable()});
    case QMXDAO_ITEM_QTY:
      return use(Kind<___ITEM_QTY, ItemQtyDAOImpl>{itemQtyTable()});
    case QMXDAO_ITEM_TYPE:
      return use(Kind<___ITEM_TYPE, ItemTypeDAOImpl>{itemTypeTable()});
    case QMXDAO_MERCHANT:
      return use(Kind<___MERCHANT_INFO, MerchantDAOImpl>{merchantTable()});
    case QMXDAO_PURCHASE:
      return use(Kind<___PURCHASE_INFO, PurchaseDAOImpl>{purchaseTable()});
    case QMXDAO_SALE_ORDER:
      return use(Kind<___SALE_ORDER, SaleOrderDAOImpl>{saleOrderTable()});
    case QMXDAO_SALE_ORDER_SUMMARY:
      return use(Kind<___SALE_ORDER_SUMMARY, SaleOrderSummaryDAOImpl>{saleOrderSummaryTable()});
    case QMXDAO_USER:
      return use(Kind<___USER, UserDAOImpl>{userTable()});
    default:
      throw Refused(L"there is no record kind " + std::to_wstring(kind));
  }
}

// Which field of qmxdao_value carries a member of this type.
template <typename T>
int32_t memberKind(const Member<T>& member) {
  static_assert(std::variant_size_v<Member<T>> == 4);
  switch (member.index()) {
    case 0:
      return QMXDAO_MEMBER_INT64;
    case 1:
      return QMXDAO_MEMBER_INT32;
    case 2:
      return QMXDAO_MEMBER_FLOAT;
    default:
      return QMXDAO_MEMBER_TEXT;
  }
}

// The host's values as a record; a text with a null pointer and a length, or an integer beyond
// its 32-bit member, is refused before anything is done with the record.
template <typename T>
T toRecord(const RecordTable<T>& table, const qmxdao_value* values) {
  if (values == nullptr) throw Refused(L"the record's values are the null pointer");
  T record;
  const auto& columns = table.columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const qmxdao_value& value = values[i];
    const Member<T>& member = columns[i].member;
    if (auto wide = std::get_if<long long T::*>(&member)) {
      record.*(*wide) = value.integer;
    } else if (auto narrow = std::get_if<int T::*>(&member)) {
      if (value.integer < INT32_MIN || value.integer > INT32_MAX) {
        throw Refused(std::wstring(L"the value of ") + columns[i].name + L" is beyond 32 bits");
      }
      record.*(*narrow) = static_cast<int>(value.integer);
    } else if (auto real = std::get_if<float T::*>(&member)) {
      double v = value.real;
      record.*(*real) = std::isfinite(v) && std::fabs(v) > FLT_MAX ? (v > 0 ? INFINITY : -INFINITY)
                                                                   : static_cast<float>(v);
    } else {
      record.*std::get<std::wstring T::*>(member) = text(value.text, value.length, columns[i].name);
    }
  }
  return record;
}

template <typename T>
std::vector<T> toRecords(const RecordTable<T>& table, const qmxdao_value* values,
                         std::size_t count) {
  if (values == nullptr && count != 0) throw Refused(L"the records are the null pointer");
  std::vector<T> records;
  records.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    records.push_back(toRecord(table, values + i * table.columns().size()));
  }
  return records;
}

// Hands records to the host's sink as values pointing into each record, one array for them all.
template <typename T>
class RecordEmitter {
 public:
  RecordEmitter(const RecordTable<T>& table, qmxdao_record_sink sink, void* context)
      : table_(table), sink_(sink), context_(context), values_(table.columns().size()) {}

  void operator()(const T& record) {
    const auto& columns = table_.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      qmxdao_value& value = values_[i];
      const Member<T>& member = columns[i].member;
      if (auto wide = std::get_if<long long T::*>(&member)) {
        value.integer = record.*(*wide);
      } else if (auto narrow = std::get_if<int T::*>(&member)) {
        value.integer = record.*(*narrow);
      } else if (auto real = std::get_if<float T::*>(&member)) {
        value.real = record.*(*real);
      } else {
        const std::wstring& held = record.*std::get<std::wstring T::*>(member);
        value.text = held.c_str();
        value.length = held.size();
      }
    }
    callSink(sink_, context_, static_cast<const qmxdao_value*>(values_.data()));
  }

 private:
  const RecordTable<T>& table_;
  qmxdao_record_sink sink_;
  void* context_;
  std::vector<qmxdao_value> values_;
};

template <typename T>
void emitRecord(const RecordTable<T>& table, const T& record, qmxdao_record_sink sink,
                void* context) {
  RecordEmitter<T>(table, sink, context)(record);
}

}  // namespace qmxdao::capi
