// The static helpers of class Utility over the C boundary.
#include <cwchar>
#include <string>
#include <vector>

#include "c_api/boundary.h"
#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "storage/text_codec.h"

using namespace qmxdao::capi;
using QMXDAO::Utility;

namespace {

QMXDAO::enDBNameType file(int32_t type) { return static_cast<QMXDAO::enDBNameType>(type); }

std::size_t lengthOf(const wchar_t* text) { return text != nullptr ? std::wcslen(text) : 0; }

// Runs one of the paging builders, which write into a buffer of the caller's, on a buffer large
// enough for every piece it may write, and hands the statement on.
template <typename Build>
void buildInto(std::size_t pieces, qmxdao_text_sink sink, void* context, Build&& build) {
  needSink(reinterpret_cast<const void*>(sink));
  std::vector<wchar_t> buffer(pieces + 256);
  build(buffer.data());
  callSink(sink, context, static_cast<const wchar_t*>(buffer.data()), std::wcslen(buffer.data()));
}

void emitNarrow(qmxdao_narrow_sink sink, void* context, const std::string& value) {
  callSink(sink, context, value.c_str(), value.size());
}

}  // namespace

extern "C" {

QMXDAO_API(qmxdao_status) qmxdao_init_db(void) {
  return guarded([] { Utility::InitDB(); });
}

QMXDAO_API(qmxdao_status) qmxdao_quit_db(void) {
  return guarded([] { Utility::QuitDB(); });
}

QMXDAO_API(qmxdao_status) qmxdao_current_working_dir(qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context, Utility::GetCurrWorkingDir());
  });
}

QMXDAO_API(qmxdao_status) qmxdao_db_name(int32_t type, qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context, Utility::GetDBName(file(type)));
  });
}

QMXDAO_API(qmxdao_status) qmxdao_reset_db_key(int32_t type) {
  return guarded([&] { Utility::ResetDBKey(L"", L"", file(type)); });
}

QMXDAO_API(qmxdao_status)
qmxdao_exec_dml(const wchar_t* sql, size_t length, int32_t type, int32_t* changed) {
  return guarded([&] {
    int rows = Utility::execDML(text(sql, length, L"the SQL"), file(type));
    if (changed != nullptr) *changed = rows;
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_search_by_sql(const wchar_t* sql, size_t length, int32_t type, qmxdao_row_sink sink,
                     void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    std::vector<qmxdao_text> names;
    std::vector<qmxdao_text> values;
    for (const auto& row : Utility::SearchBySQL(text(sql, length, L"the SQL"), file(type))) {
      names.clear();
      values.clear();
      for (const auto& [name, value] : row) {
        names.push_back({name.c_str(), name.size()});
        values.push_back({value.c_str(), value.size()});
      }
      callSink(sink, context, static_cast<const qmxdao_text*>(names.data()),
               static_cast<const qmxdao_text*>(values.data()), names.size());
    }
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_item_count(const wchar_t* table, size_t table_length, const wchar_t* condition,
                  size_t condition_length, int32_t type, int64_t* count) {
  return guarded([&] {
    *out(count, L"the answer's place") =
        Utility::GetItemCount(text(table, table_length, L"the table"),
                              text(condition, condition_length, L"the condition"), file(type));
  });
}

QMXDAO_API(qmxdao_status) qmxdao_db_version(int32_t type, qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context, Utility::GetDBVersion(file(type)));
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_version_of_file(const wchar_t* path, size_t length, qmxdao_text_sink sink,
                          void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context, Utility::GetDBVersion(text(path, length, L"the path")));
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_create_sql(const wchar_t* table, size_t length, int32_t type, qmxdao_text_sink sink,
                  void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context,
             Utility::GetCreateSQLByTableName(text(table, length, L"the table"), file(type)));
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_create_index_sql(const wchar_t* table, size_t length, int32_t type, qmxdao_text_sink sink,
                        void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    for (const std::wstring& sql :
         Utility::GetCreateIndexByTableName(text(table, length, L"the table"), file(type))) {
      emitText(sink, context, sql);
    }
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_format_v(qmxdao_text_sink sink, void* context, const wchar_t* format, va_list args) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    std::wstring result;
    // As Format: no format, or one that does not format, gives the empty text.
    if (format != nullptr && !qmxdao::platform::formatWide(result, format, args)) result.clear();
    emitText(sink, context, result);
  });
}

QMXDAO_C_EXPORT qmxdao_status qmxdao_format(qmxdao_text_sink sink, void* context,
                                            const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  qmxdao_status status = qmxdao_format_v(sink, context, format, args);
  va_end(args);
  return status;
}

QMXDAO_API(qmxdao_status)
qmxdao_build_pager_sql(const wchar_t* table, int32_t page_size, int32_t page_number,
                       const wchar_t* order_column, int32_t ascending, const wchar_t* condition,
                       qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    buildInto(lengthOf(table) + lengthOf(order_column) + lengthOf(condition), sink, context,
              [&](wchar_t* buffer) {
                Utility::BuildPagerSql(table, page_size, page_number, order_column, ascending != 0,
                                       condition, buffer);
              });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_build_pager_sql_ordered(const wchar_t* table, int32_t page_size, int32_t page_number,
                               const wchar_t* order_clause, const wchar_t* condition,
                               qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    buildInto(lengthOf(table) + lengthOf(order_clause) + lengthOf(condition), sink, context,
              [&](wchar_t* buffer) {
                Utility::BuildPagerSql(table, page_size, page_number, nullptr, order_clause,
                                       condition, buffer);
              });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_build_count_sql(const wchar_t* table, const wchar_t* condition, qmxdao_text_sink sink,
                       void* context) {
  return guarded([&] {
    buildInto(lengthOf(table) + lengthOf(condition), sink, context,
              [&](wchar_t* buffer) { Utility::BuildCountSql(table, condition, buffer); });
  });
}

QMXDAO_API(qmxdao_status) qmxdao_now_time(qmxdao_text_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitText(sink, context, Utility::GetNowTime());
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_trim(const wchar_t* value, size_t length, size_t* first, size_t* count) {
  return guarded([&] {
    out(first, L"the answer's place");
    out(count, L"the answer's place");
    if (value == nullptr && length != 0) throw Refused(L"the text is the null pointer");
    // Trim works on the whole text, NULs included; find where its result sits in the original.
    std::wstring whole(value != nullptr ? value : L"", length);
    std::wstring trimmed = whole;
    Utility::Trim(trimmed);
    *first = trimmed.empty() ? 0 : whole.find(trimmed);
    *count = trimmed.size();
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_value_string(const wchar_t* value, size_t length, qmxdao_narrow_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    std::wstring wide = text(value, length, L"the text");
    const char* narrow = Utility::get_value_string(wide);
    if (narrow == nullptr) return callSink(sink, context, narrow, static_cast<size_t>(0));
    emitNarrow(sink, context, narrow);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_readable_utf8(const wchar_t* value, size_t length, qmxdao_narrow_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    emitNarrow(sink, context, qmxdao::toReadableUtf8(text(value, length, L"the text")));
  });
}

QMXDAO_API(qmxdao_status) qmxdao_value_int(const wchar_t* value, size_t length, int32_t* result) {
  return guarded([&] {
    std::wstring wide = text(value, length, L"the text");
    *out(result, L"the answer's place") = Utility::get_value_int(wide);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_value_int64(const wchar_t* value, size_t length, int64_t* result) {
  return guarded([&] {
    std::wstring wide = text(value, length, L"the text");
    *out(result, L"the answer's place") = Utility::get_value_long_long(wide);
  });
}

QMXDAO_API(qmxdao_status) qmxdao_value_float(const wchar_t* value, size_t length, float* result) {
  return guarded([&] {
    std::wstring wide = text(value, length, L"the text");
    *out(result, L"the answer's place") = Utility::get_value_float(wide);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_value_double(const wchar_t* value, size_t length, double* result) {
  return guarded([&] {
    std::wstring wide = text(value, length, L"the text");
    *out(result, L"the answer's place") = Utility::get_value_double(wide);
  });
}

}  // extern "C"
