/* A host built the way one built with Microsoft's compiler is: compiled in Microsoft's ABI
 * (clang --target=*-pc-windows-msvc -ffreestanding), linked by lld-link against QMXDAOService.lib
 * and a kernel32 import library alone, with no C runtime. It uses nothing of the library but the
 * C boundary (qmxdao/c_api.h): saves three customers, reads them back by ID and by statement,
 * finds nothing for a missing ID and gets the engine's codes for a wrong key and a missing file.
 * It runs in a folder where "qmxdb.exe init" made db/QMX.db and db/SALE.db, prints a line per
 * check and exits 0 when every check passed, otherwise the number of the first failed check.
 * Built for Linux too (gcc, against libQMXDAOService.so), where it runs the same checks. */

#include "qmxdao/c_api.h"

#if defined(_WIN32)
__declspec(dllimport) void* __stdcall GetStdHandle(uint32_t which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, uint32_t size,
                                              uint32_t* written, void* overlapped);
/* The compiler zeroes structures with memset, and no C runtime is linked to give it. */
void* memset(void* to, int value, size_t size) {
  unsigned char* byte = (unsigned char*)to;
  while (size-- > 0) *byte++ = (unsigned char)value;
  return to;
}
static void say(const char* text, uint32_t length) {
  uint32_t written;
  WriteFile(GetStdHandle((uint32_t)-11), text, length, &written, NULL);
}
#else
long write(int file, const void* data, size_t size);
static void say(const char* text, uint32_t length) { (void)!write(1, text, length); }
#endif

#define ORG L"msvc-host"
#if defined(_WIN32)
#define DB_FILE(name) L"db\\" name
#else
#define DB_FILE(name) L"db/" name
#endif
enum { kCustomers = 3, kMaxColumns = 64, kNameSize = 32 };
static const int64_t kIds[kCustomers] = {7001, 7002, 7003};
/* Text beyond ASCII: Latin-1, CJK and a character outside the BMP (a surrogate pair in UTF-16). */
static const wchar_t* const kNames[kCustomers] = {L"Wang Fang", L"Zo\u00eb M\u00fcller",
                                                  L"\u674e\u5a1c \U0001F600"};

static int32_t column_count, id_column, org_column, name_column;
static qmxdao_value records[kCustomers * kMaxColumns];

static size_t length_of(const wchar_t* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

static int same(const wchar_t* a, size_t a_length, const wchar_t* b) {
  size_t i;
  if (a_length != length_of(b)) return 0;
  for (i = 0; i < a_length; ++i)
    if (a[i] != b[i]) return 0;
  return 1;
}

static int check(int number, int passed, const char* what) {
  char line[96];
  uint32_t n = 0;
  const char* prefix = passed ? "ok     " : "FAILED ";
  while (*prefix != 0) line[n++] = *prefix++;
  if (number >= 10) line[n++] = (char)('0' + number / 10);
  line[n++] = (char)('0' + number % 10);
  line[n++] = ' ';
  while (*what != 0 && n < sizeof line - 1) line[n++] = *what++;
  line[n++] = '\n';
  say(line, n);
  return passed;
}

/* What the sinks were given: how many records, and the ID and name of each (copied). */
typedef struct found {
  int calls;
  int64_t ids[kCustomers + 1];
  wchar_t names[kCustomers + 1][kNameSize];
  size_t name_lengths[kCustomers + 1];
} found;

static int32_t QMXDAO_CALL take_record(void* context, const qmxdao_value* values) {
  found* into = (found*)context;
  const qmxdao_value* name = &values[name_column];
  size_t i;
  if (into->calls > kCustomers || name->length > kNameSize) return 1;
  into->ids[into->calls] = values[id_column].integer;
  for (i = 0; i < name->length; ++i) into->names[into->calls][i] = name->text[i];
  into->name_lengths[into->calls] = name->length;
  ++into->calls;
  return 0;
}

static int32_t QMXDAO_CALL ignore_text(void* context, const wchar_t* text, size_t length) {
  (void)context, (void)text, (void)length;
  return 0;
}

/* Finds the customer's columns by name: ID, ORG and CUSTOMER_NAME. */
static int find_columns(void) {
  const wchar_t* table;
  int32_t column, code, member;
  id_column = org_column = name_column = -1;
  if (qmxdao_record_shape(QMXDAO_CUSTOMER, &column_count, &table) != QMXDAO_OK ||
      column_count > kMaxColumns)
    return 0;
  for (column = 0; column < column_count; ++column) {
    const wchar_t* name;
    if (qmxdao_record_column(QMXDAO_CUSTOMER, column, &name, &code, &member) != QMXDAO_OK) return 0;
    if (same(name, length_of(name), L"ID") && member == QMXDAO_MEMBER_INT64) id_column = column;
    if (same(name, length_of(name), L"ORG") && member == QMXDAO_MEMBER_TEXT) org_column = column;
    if (same(name, length_of(name), L"CUSTOMER_NAME") && member == QMXDAO_MEMBER_TEXT)
      name_column = column;
  }
  return id_column >= 0 && org_column >= 0 && name_column >= 0;
}

static int save_customers(void) {
  int32_t done = 0;
  int i;
  for (i = 0; i < kCustomers; ++i) {
    qmxdao_value* record = &records[i * column_count];
    record[id_column].integer = kIds[i];
    record[org_column].text = ORG;
    record[org_column].length = length_of(ORG);
    record[name_column].text = kNames[i];
    record[name_column].length = length_of(kNames[i]);
  }
  return qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_SAVE, records, kCustomers, &done) == QMXDAO_OK &&
         done != 0;
}

static int read_by_id(void) {
  int i;
  for (i = 0; i < kCustomers; ++i) {
    found one = {0};
    if (qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, kIds[i], take_record, &one) != QMXDAO_OK ||
        one.calls != 1 || one.ids[0] != kIds[i] ||
        !same(one.names[0], one.name_lengths[0], kNames[i]))
      return 0;
  }
  return 1;
}

static int read_by_sql(void) {
  static const wchar_t sql[] = L"select * from CUSTOMER where ORG='" ORG L"' order by ID";
  found all = {0};
  int i;
  if (qmxdao_dao_find_by_sql(QMXDAO_CUSTOMER, 1, sql, length_of(sql), take_record, &all) !=
          QMXDAO_OK ||
      all.calls != kCustomers)
    return 0;
  for (i = 0; i < kCustomers; ++i)
    if (all.ids[i] != kIds[i] || !same(all.names[i], all.name_lengths[i], kNames[i])) return 0;
  return 1;
}

static int find_missing(void) {
  found none = {0};
  return qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, 987654321, take_record, &none) == QMXDAO_OK &&
         none.calls == 1 && none.ids[0] == 0 && none.name_lengths[0] == 0;
}

static int wrong_key(void) {
  qmxdao_db* db = NULL;
  int32_t status;
  if (qmxdao_db_new(&db) != QMXDAO_OK) return 0;
  status = qmxdao_db_open(db, DB_FILE(L"QMX.db"), 9, L"wrong", 5);
  return qmxdao_db_free(db) == QMXDAO_OK && status == 26;
}

static int missing_file(void) {
  return qmxdao_db_version_of_file(DB_FILE(L"missing.db"), 13, ignore_text, NULL) == 14;
}

static int run(void) {
  int failed = 0, n = 0;
#define CHECK(passed, what) \
  if (!check(++n, (passed), what) && failed == 0) failed = n
  CHECK(qmxdao_check_version(QMXDAO_C_API_VERSION) == QMXDAO_OK, "the DLL's boundary version");
  CHECK(qmxdao_check_version(QMXDAO_C_API_VERSION + 1) != QMXDAO_OK, "a newer host is refused");
  CHECK(qmxdao_init_db() == QMXDAO_OK, "qmxdao_init_db");
  CHECK(find_columns(), "the customer's ID, ORG and CUSTOMER_NAME columns");
  CHECK(failed == 0 && save_customers(), "three customers saved in one batch");
  CHECK(failed == 0 && read_by_id(), "each read back by ID, its name intact");
  CHECK(failed == 0 && read_by_sql(), "all three read back by statement, in order");
  CHECK(failed == 0 && find_missing(), "a missing ID gives a new record (ID 0)");
  CHECK(wrong_key(), "a wrong key gives the engine's code 26");
  CHECK(missing_file(), "a missing file gives the engine's code 14");
  CHECK(qmxdao_quit_db() == QMXDAO_OK, "qmxdao_quit_db");
#undef CHECK
  return failed;
}

#if defined(_WIN32)
int customers_main(void) { return run(); }
#else
int main(void) { return run(); }
#endif
