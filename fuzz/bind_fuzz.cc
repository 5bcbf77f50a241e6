// Utility::sqlite_statement_bind with any data_type code, position and text, on a statement of
// an in-memory plain database: a code with a rule binds the value its text converts to (read
// back through the engine), a code without one binds nothing, and a position the statement does
// not have fails with CppSQLite3Exception, and so does a text holding a value that is no UTF-16
// code unit.
//
// Codes are taken from 0 to 7, every value a data_type can hold: forming a larger one from an
// integer is already undefined behaviour in the caller, before the library sees it.
#include <cmath>
#include <cwchar>
#include <string>

#include "fuzz/fuzz_input.h"
#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"

namespace {

using QMXDAO::Utility;
using QMXDataDomain::data_type;

constexpr int kSqliteRange = 25;
constexpr int kRefusedText = 20;  // a value that is no UTF-16 code unit
constexpr int kParameters = 2;

CppSQLite3DB& database() {
  static CppSQLite3DB* db = [] {
    auto* opened = new CppSQLite3DB;
    opened->open(L":memory:", L"");
    return opened;
  }();
  return *db;
}

bool hasRule(data_type code) {
  return code == QMXDataDomain::type_int || code == QMXDataDomain::type_int64 ||
         code == QMXDataDomain::type_float || code == QMXDataDomain::type_text;
}

// The value the engine holds for the parameter, checked against the text it was bound from.
void checkBound(CppSQLite3Query& query, int field, std::wstring text, data_type code) {
  if (!hasRule(code)) {
    FUZZ_CHECK(query.fieldIsNull(field));
    return;
  }
  switch (code) {
    case QMXDataDomain::type_int:
      FUZZ_CHECK(query.getInt64Field(field, -1) == Utility::get_value_int(text));
      break;
    case QMXDataDomain::type_int64:
      FUZZ_CHECK(query.getInt64Field(field, -1) == Utility::get_value_long_long(text));
      break;
    case QMXDataDomain::type_float: {
      const double value = Utility::get_value_double(text);
      if (std::isnan(value)) {
        FUZZ_CHECK(query.fieldIsNull(field));  // the engine stores NaN as NULL
      } else {
        FUZZ_CHECK(query.getFloatField(field, -1.0) == value);
      }
      break;
    }
    default: {
      if (text.empty()) {
        FUZZ_CHECK(query.fieldIsNull(field));  // the empty text is stored as NULL
        break;
      }
      // Bound as a C string: up to its first NUL; a lone surrogate reads back as U+FFFD.
      std::wstring expected;
      for (const wchar_t* unit = text.c_str(); *unit != L'\0'; ++unit) {
        expected.push_back(qmxdao::fuzz::scalarOrReplacement(*unit));
      }
      const wchar_t* stored = query.fieldValue(field);
      FUZZ_CHECK(stored != nullptr && expected == stored);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int position = data.ConsumeIntegralInRange<int>(-1, kParameters + 1);
  const auto code = static_cast<data_type>(data.ConsumeIntegralInRange<int>(0, 7));
  const bool nullFirst = data.ConsumeBool();
  const std::wstring text = qmxdao::fuzz::consumeWide(data, 40);

  CppSQLite3Statement statement = database().compileStatement(L"SELECT ?1, ?2");
  const bool inRange = position >= 1 && position <= kParameters;
  const bool refused = code == QMXDataDomain::type_text && qmxdao::fuzz::holdsNonUnit(text.c_str());
  try {
    if (nullFirst) Utility::sqlite_statement_bind(&statement, position);
    Utility::sqlite_statement_bind(&statement, position, {text, code});
    FUZZ_CHECK(inRange || (!hasRule(code) && !nullFirst));
    FUZZ_CHECK(!(inRange && refused));
  } catch (const CppSQLite3Exception& e) {
    FUZZ_CHECK(inRange ? refused && e.errorCode() == kRefusedText : e.errorCode() == kSqliteRange);
    return 0;
  }
  CppSQLite3Query query = statement.execQuery();
  FUZZ_CHECK(!query.eof() && query.numFields() == kParameters);
  for (int field = 0; field < kParameters; ++field) {
    if (field + 1 == position) {
      checkBound(query, field, text, code);
    } else {
      FUZZ_CHECK(query.fieldIsNull(field));
    }
  }
  query.finalize();
  statement.finalize();
  return 0;
}
