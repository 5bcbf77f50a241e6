// Drives the C boundary as a careless host would: handles used after release, in the wrong
// place or made up; null pointers with lengths; statements, binds and reads out of order on a
// plain file; records of any kind with any values; callbacks that stop the call. Every call must
// come back with a status: a crash, a leak or a sanitizer report is a finding.
#include <unistd.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "qmxdao/c_api.h"

namespace {

int32_t QMXDAO_CALL anyText(void* context, const wchar_t*, size_t) {
  return *static_cast<int*>(context);
}
int32_t QMXDAO_CALL anyRecord(void* context, const qmxdao_value*) {
  return *static_cast<int*>(context);
}

std::wstring plainFile() {
  return L"/tmp/qmxdao-c-boundary-fuzz-" + std::to_wstring(getpid()) + L".db";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  static const std::wstring file = plainFile();
  std::vector<void*> handles{nullptr, reinterpret_cast<void*>(0x10)};  // null and made up
  std::deque<std::wstring> texts;  // stays in place as it grows: the pointers handed out stay valid
  int stop = 0;
  auto handle = [&]() {
    return handles[data.ConsumeIntegralInRange<size_t>(0, handles.size() - 1)];
  };
  auto db = [&]() { return static_cast<qmxdao_db*>(handle()); };
  auto statement = [&]() { return static_cast<qmxdao_statement*>(handle()); };
  auto query = [&]() { return static_cast<qmxdao_query*>(handle()); };
  // A text: the fuzz text, or the null pointer with a length.
  auto text = [&](const wchar_t*& pointer, size_t& length) {
    texts.push_back(qmxdao::fuzz::consumeWide(data, 40));
    pointer = data.ConsumeBool() ? nullptr : texts.back().c_str();
    length = pointer == nullptr ? data.ConsumeIntegralInRange<size_t>(0, 3) : texts.back().size();
  };
  const wchar_t* t = nullptr;
  size_t n = 0;

  for (int step = 0; step < 24 && data.remaining_bytes() > 0; ++step) {
    stop = data.ConsumeIntegralInRange<int>(0, 1);
    const int32_t a = data.ConsumeIntegralInRange<int32_t>(-2, 10);
    switch (data.ConsumeIntegralInRange<int>(0, 17)) {
      case 0: {
        qmxdao_db* made = nullptr;
        if (qmxdao_db_new(&made) == QMXDAO_OK) handles.push_back(made);
        break;
      }
      case 1:
        qmxdao_db_open(db(), file.c_str(), file.size(), L"", 0);
        break;
      case 2:
        qmxdao_db_free(db());
        break;
      case 3:
        text(t, n);
        qmxdao_db_exec_dml(db(), t, n, nullptr);
        break;
      case 4: {
        text(t, n);
        qmxdao_statement* made = nullptr;
        const std::wstring sql = data.ConsumeBool() ? L"select ?, ?, 1 union all select 2, 3, 4"
                                                    : std::wstring(t != nullptr ? t : L"");
        if (qmxdao_db_compile_statement(db(), sql.c_str(), sql.size(), &made) == QMXDAO_OK) {
          handles.push_back(made);
        }
        break;
      }
      case 5:
        text(t, n);
        qmxdao_statement_bind_text(statement(), a, t, n);
        break;
      case 6:
        qmxdao_statement_bind_int64(statement(), a, data.ConsumeIntegral<int64_t>());
        break;
      case 7: {
        qmxdao_query* made = nullptr;
        if (qmxdao_statement_exec_query(statement(), &made) == QMXDAO_OK) handles.push_back(made);
        break;
      }
      case 8:
        qmxdao_statement_reset(statement());
        break;
      case 9:
        data.ConsumeBool() ? qmxdao_statement_free(statement()) : qmxdao_query_free(query());
        break;
      case 10: {
        const wchar_t* value = nullptr;
        qmxdao_query_field_value(query(), a, &value, &n);
        qmxdao_query_next_row(query());
        break;
      }
      case 11: {
        text(t, n);
        qmxdao_query* made = nullptr;
        if (qmxdao_db_exec_query(db(), t, n, &made) == QMXDAO_OK) handles.push_back(made);
        break;
      }
      case 12: {
        // A record of the kind: zeros and one text, or no record at all.
        int32_t columns = 0;
        qmxdao_record_shape(a, &columns, nullptr);
        std::vector<qmxdao_value> values(static_cast<size_t>(columns) + 1, qmxdao_value{});
        text(values[0].text, values[0].length);
        values[0].integer = data.ConsumeIntegral<int64_t>();
        const qmxdao_value* record = data.ConsumeBool() ? values.data() : nullptr;
        text(t, n);
        qmxdao_record_set_field(a, record, data.ConsumeIntegralInRange<int32_t>(-1, 4), t, n,
                                &values[0], &anyRecord, &stop);
        qmxdao_record_assign(a, record, record, &anyRecord, &stop);
        qmxdao_record_read_field(a, record, query(), a, a, &anyRecord, &stop);
        break;
      }
      case 13: {
        int32_t done = 0;
        qmxdao_dao_write(a, data.ConsumeIntegralInRange<int32_t>(-1, 4), nullptr,
                         data.ConsumeIntegralInRange<size_t>(0, 2), &done);
        qmxdao_dao_find_by_id(a, 1, data.ConsumeBool() ? &anyRecord : nullptr, &stop);
        break;
      }
      case 14: {
        text(t, n);
        size_t first = 0;
        qmxdao_trim(t, n, &first, data.ConsumeBool() ? &n : nullptr);
        int64_t number = 0;
        qmxdao_value_int64(t, n, &number);
        break;
      }
      case 15: {
        std::wstring table = qmxdao::fuzz::consumeWideText(data, 20);
        std::wstring condition = qmxdao::fuzz::consumeWideText(data, 20);
        qmxdao_build_pager_sql(table.c_str(), a, a, condition.c_str(), a, condition.c_str(),
                               &anyText, &stop);
        qmxdao_build_count_sql(data.ConsumeBool() ? nullptr : table.c_str(), condition.c_str(),
                               &anyText, &stop);
        break;
      }
      case 16: {
        qmxdao_text columns[2] = {{L"ID", 2}, {nullptr, 0}};
        text(columns[1].text, columns[1].length);
        qmxdao_record_statement_sql(a, a, columns, 2, &anyText, &stop);
        break;
      }
      default:
        qmxdao_check_version(data.ConsumeIntegral<uint32_t>());
        break;
    }
  }
  // What the host forgot is released as a host would at its end: connections last.
  for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
    qmxdao_query_free(static_cast<qmxdao_query*>(*it));
    qmxdao_statement_free(static_cast<qmxdao_statement*>(*it));
  }
  for (void* each : handles) qmxdao_db_free(static_cast<qmxdao_db*>(each));
  return 0;
}
