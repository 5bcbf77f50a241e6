// Utility: the static helpers that the application calls directly. Database files and engine
// set-up, the application's own SQL (each call opens its own connection with the database key,
// waits up to 10 seconds for a busy file, and closes it again), and text helpers that need no
// database. Engine failures reach the caller as CppSQLite3Exception.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/Export.h"

class CppSQLite3Statement;

namespace QMXDAO {

// Selects a database file beside the host executable: "db/QMX.db" for 0 and 1, "db/SALE.db" for
// 2; any other value names the "db" folder itself.
enum enDBNameType { DBNAME_DEFAULT = 0, DBNAME_MAIN = 1, DBNAME_SALE = 2 };

class QMX_EXPORT Utility {
 public:
  Utility& operator=(const Utility&) { return *this; }

  // Files and engine.
  static void InitDB();
  static void QuitDB();
  // The folder of the host executable, ending with the folder separator.
  static std::wstring GetCurrWorkingDir();
  // The path of the database file; a read-only file is made writable on the way.
  static std::wstring GetDBName(enDBNameType type);
  // Turns the file of the type into one that opens with the database key (a plain file is
  // encrypted; a file that already opens with the key is left alone). The two texts are unused.
  static void ResetDBKey(std::wstring unused1, std::wstring unused2, enDBNameType type);

  // The application's own SQL.
  static int execDML(std::wstring sql, enDBNameType type);
  // Rows as maps from column name to text (NULL reads as the empty text; of two columns with one
  // name the first wins), in the order the query delivers them. The empty text opens nothing.
  static std::vector<std::map<std::wstring, std::wstring>> SearchBySQL(std::wstring sql,
                                                                       enDBNameType type);
  static long long GetItemCount(std::wstring tableName, std::wstring condition, enDBNameType type);
  static std::wstring GetDBVersion(enDBNameType type);
  static std::wstring GetDBVersion(std::wstring path);
  static std::wstring GetCreateSQLByTableName(std::wstring tableName, enDBNameType type);
  static std::vector<std::wstring> GetCreateIndexByTableName(std::wstring tableName,
                                                             enDBNameType type);

  // Text helpers. Format follows the system's wide printf conventions on every platform: "%s"
  // takes a wide string, "%S" a narrow one, "%I64d" a 64-bit integer.
  static std::wstring Format(const wchar_t* format, ...);
  // "select  * from T  where C  order by O ASC limit 40,20 ": written into the caller's buffer,
  // which must hold the whole statement. Always returns true.
  static bool BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                            const wchar_t* orderColumn, bool ascending, const wchar_t* condition,
                            wchar_t* out);
  // "select *,length([upc]) from T  where C  order by O  limit 20  offset 40 ".
  static bool BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                            const wchar_t* unused, const wchar_t* orderClause,
                            const wchar_t* condition, wchar_t* out);
  static bool BuildCountSql(const wchar_t* tableName, const wchar_t* condition, wchar_t* out);
  // Local time as "2015-03-07 09:05:01".
  static std::wstring GetNowTime();
  // Cuts blanks (space, line feed, carriage return, tab) from both ends, in place. A text made
  // only of blanks is returned unchanged.
  static std::wstring& Trim(std::wstring& text);

  // Conversions; none changes its argument.
  // The null pointer for the empty string, else the string's own characters.
  static const wchar_t* get_value_wstring(std::wstring& text);
  // The null pointer for the empty string, else the text in the active narrow code page (a
  // character it cannot hold becomes '?'). The buffer belongs to the calling thread and stays
  // valid until that thread's next call.
  static const char* get_value_string(std::wstring& text);
  static int get_value_int(std::wstring& text);
  static int get_value_long(std::wstring& text);
  static long long get_value_long_long(std::wstring& text);
  static float get_value_float(std::wstring& text);
  static double get_value_double(std::wstring& text);

  // Binds one column value (its text converted by its data_type code) at a 1-based position;
  // codes without a rule bind nothing. The second form binds NULL.
  static void sqlite_statement_bind(CppSQLite3Statement* statement, int position,
                                    std::pair<std::wstring, QMXDataDomain::data_type> value);
  static void sqlite_statement_bind(CppSQLite3Statement* statement, int position);
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/utility.h"
#endif
