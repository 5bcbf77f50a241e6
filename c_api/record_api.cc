// The record structures over the C boundary: their shape, constructor, merge, setters and column
// operations, each done by the record's own member function on a copy made from the host's values.
#include "c_api/handles.h"
#include "c_api/record_kinds.h"
#include "domain/statement_text.h"

using namespace qmxdao::capi;

namespace {

// Calls the record's setter of the setter code; a column the setter does not take is ignored,
// as the setter itself ignores it.
template <typename T>
void setField(T& record, int32_t setter, const std::wstring& column, const qmxdao_value& value) {
  switch (setter) {
    case QMXDAO_SET_TEXT:
      return record.setTextField(column, text(value.text, value.length, L"the value"));
    case QMXDAO_SET_INT:
      if (value.integer < INT32_MIN || value.integer > INT32_MAX) {
        throw Refused(L"the value is beyond 32 bits");
      }
      return record.setIntField(column, static_cast<int>(value.integer));
    case QMXDAO_SET_FLOAT:
      return record.setFloatField(column, value.real);
    case QMXDAO_SET_INT64:
      if constexpr (std::is_same_v<T, QMXDataDomain::___SALE_ORDER_SUMMARY>) {
        return record.setInt64Field(column, value.integer);
      }
      break;
    default:
      break;
  }
  throw Refused(L"this record has no setter " + std::to_wstring(setter));
}

}  // namespace

extern "C" {

QMXDAO_API(qmxdao_status)
qmxdao_record_shape(int32_t kind, int32_t* column_count, const wchar_t** table_name) {
  return guarded([&] {
    withKind(kind, [&](auto k) {
      if (column_count != nullptr) *column_count = static_cast<int32_t>(k.table.columns().size());
      if (table_name != nullptr) *table_name = k.table.name().c_str();
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_column(int32_t kind, int32_t column, const wchar_t** name, int32_t* code,
                     int32_t* member) {
  return guarded([&] {
    withKind(kind, [&](auto k) {
      const auto& columns = k.table.columns();
      if (column < 0 || static_cast<std::size_t>(column) >= columns.size()) {
        throw Refused(L"the record has no column " + std::to_wstring(column));
      }
      if (name != nullptr) *name = columns[column].name;
      if (code != nullptr) *code = columns[column].code;
      if (member != nullptr) *member = memberKind(columns[column].member);
    });
  });
}

QMXDAO_API(qmxdao_status) qmxdao_record_new(int32_t kind, qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    withKind(kind, [&](auto k) {
      typename decltype(k)::Record record;
      emitRecord(k.table, record, sink, context);
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_assign(int32_t kind, const qmxdao_value* target, const qmxdao_value* source,
                     qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    withKind(kind, [&](auto k) {
      auto merged = toRecord(k.table, target);
      merged = toRecord(k.table, source);
      emitRecord(k.table, merged, sink, context);
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_set_field(int32_t kind, const qmxdao_value* record, int32_t setter,
                        const wchar_t* column, size_t column_length, const qmxdao_value* value,
                        qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    out(value, L"the value");
    withKind(kind, [&](auto k) {
      auto changed = toRecord(k.table, record);
      setField(changed, setter, text(column, column_length, L"the column"), *value);
      emitRecord(k.table, changed, sink, context);
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_column_values(int32_t kind, const qmxdao_value* record, qmxdao_column_value_sink sink,
                            void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    withKind(kind, [&](auto k) {
      QMXDataDomain::ColumnValueMap values;
      toRecord(k.table, record).getColumnValues(values);
      for (const auto& [name, value] : values) {
        callSink(sink, context, name.c_str(), name.size(), value.first.c_str(), value.first.size(),
                 static_cast<int32_t>(value.second));
      }
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_statement_sql(int32_t kind, int32_t statement, const qmxdao_text* columns,
                            size_t count, qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    if (columns == nullptr && count != 0) throw Refused(L"the columns are the null pointer");
    if (statement != QMXDAO_INSERT_SQL && statement != QMXDAO_UPDATE_SQL) {
      throw Refused(L"there is no statement " + std::to_wstring(statement));
    }
    std::vector<std::wstring> names;
    for (size_t i = 0; i < count; ++i) {
      names.push_back(text(columns[i].text, columns[i].length, L"a column"));
    }
    std::vector<const wchar_t*> order;
    for (const std::wstring& name : names) order.push_back(name.c_str());
    withKind(kind, [&](auto k) {
      emitText(sink, context,
               statement == QMXDAO_INSERT_SQL ? qmxdao::insertSql(k.table.name(), order)
                                              : qmxdao::updateSql(k.table.name(), order));
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_record_read_field(int32_t kind, const qmxdao_value* record, qmxdao_query* query,
                         int32_t field, int32_t code, qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    CppSQLite3Query& rows = queryOf(query).query;
    withKind(kind, [&](auto k) {
      auto changed = toRecord(k.table, record);
      changed.readField(rows, field, static_cast<QMXDataDomain::data_type>(code));
      emitRecord(k.table, changed, sink, context);
    });
  });
}

}  // extern "C"
