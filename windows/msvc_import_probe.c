/* A program built the way a host built with Microsoft's compiler is: compiled in Microsoft's ABI
 * (clang --target=*-pc-windows-msvc), linked by lld-link against QMXDAOService.lib alone, with no
 * C runtime. It reaches three of the DLL's static helpers whose signatures hold only pointers and
 * a bool, by their exported names, and exits with 0 when the paging helper wrote the expected
 * count statement; any other code names the check that failed. scripts/run-windows-tests.sh
 * builds it for each architecture and runs it under wine where that architecture runs. */

#include <stddef.h>

/* The exported names as MinGW's compiler writes them; on i686, Microsoft's C names carry a
 * leading underscore that the import library adds too. */
#if defined(_M_IX86)
#define EXPORTED(name) "_" name
#else
#define EXPORTED(name) name
#endif

__declspec(dllimport) void InitDB(void) __asm__(EXPORTED("_ZN6QMXDAO7Utility6InitDBEv"));
__declspec(dllimport) void QuitDB(void) __asm__(EXPORTED("_ZN6QMXDAO7Utility6QuitDBEv"));
__declspec(dllimport) _Bool BuildCountSql(const wchar_t* table, const wchar_t* condition,
                                          wchar_t* out)
    __asm__(EXPORTED("_ZN6QMXDAO7Utility13BuildCountSqlEPKwS2_Pw"));

static int same(const wchar_t* a, const wchar_t* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

int probe_main(void) {
  wchar_t sql[128];
  int result = 0;
  InitDB();
  if (!BuildCountSql(L"ITEM", L"ORG='shop-1'", sql)) result = 2;
  else if (!same(sql, L"select count(*) as c from ITEM where ORG='shop-1' ")) result = 3;
  QuitDB();
  return result;
}
