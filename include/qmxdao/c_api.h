/* The library's C boundary: everything the C++ classes offer, for a host built by any compiler or
 * in any language. C99, also valid C++; it needs only <stddef.h>, <stdint.h> and <stdarg.h>.
 *
 * - Every function returns a status: QMXDAO_OK (0), or the engine's result code (1 for an SQL
 *   error, 5 busy, 14 a file that cannot be opened, 21 a call the library refuses, 26 a file the
 *   key does not open, ...). qmxdao_last_error gives the calling thread's last failure message.
 *   Nothing is thrown across the boundary.
 * - Text crosses as a pointer and a length in wchar_t units (UTF-16 on Windows, UTF-32 elsewhere);
 *   it ends at its first NUL, as the C++ API's texts do. A null pointer with length 0 is the
 *   empty text, or NULL where a statement parameter is bound; with any other length it is
 *   refused.
 * - Engine objects are opaque handles. A null or already released handle is refused.
 * - Texts, rows and records come back through the caller's callbacks (sinks), which copy what
 *   they keep: what a sink is given lives only until it returns. A sink returns 0 to go on; any
 *   other value stops the call, which then returns QMXDAO_CALLBACK_FAILED. A sink must not
 *   throw. Memory is freed on the side that allocated it: the library frees its own handles
 *   (the *_free functions), never anything of the host's.
 * - A record crosses as an array of qmxdao_value, one per column in the order
 *   qmxdao_record_column gives; a batch is count such arrays one after another.
 * - Calls use the C calling convention (__cdecl on Windows). */
#ifndef QMXDAO_C_API_H
#define QMXDAO_C_API_H

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

/* Bumped whenever a function is added. A host built against a newer header than the library
 * it loads gets a failure from qmxdao_check_version. */
#define QMXDAO_C_API_VERSION 1

#if defined(_WIN32)
#define QMXDAO_CALL __cdecl
#if defined(QMXDAOSERVICE_BUILDING)
#define QMXDAO_C_EXPORT __declspec(dllexport)
#elif defined(QMXDAOSERVICE_STATIC)
#define QMXDAO_C_EXPORT
#else
#define QMXDAO_C_EXPORT __declspec(dllimport)
#endif
#else
#define QMXDAO_CALL
#define QMXDAO_C_EXPORT __attribute__((visibility("default")))
#endif
#define QMXDAO_API(type) QMXDAO_C_EXPORT type QMXDAO_CALL

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t qmxdao_status;
enum {
  QMXDAO_OK = 0,
  QMXDAO_OUT_OF_MEMORY = 7,   /* the engine's code for memory that could not be had */
  QMXDAO_CALLBACK_FAILED = 4, /* a sink returned non-zero; the call stopped */
  QMXDAO_REFUSED = 21         /* a bad handle, pointer, kind or operation */
};

/* The calling thread's last failure message; valid until its next call. */
QMXDAO_API(void) qmxdao_last_error(const wchar_t** message, size_t* length);

/* The boundary's version: QMXDAO_C_API_VERSION of the library's own header. */
QMXDAO_API(uint32_t) qmxdao_version(void);
/* Fails when host_version (the host's QMXDAO_C_API_VERSION) is newer than the library's. */
QMXDAO_API(qmxdao_status) qmxdao_check_version(uint32_t host_version);

/* ----- Callbacks ------------------------------------------------------------------------- */

typedef struct qmxdao_text {
  const wchar_t* text;
  size_t length;
} qmxdao_text;

typedef int32_t(QMXDAO_CALL* qmxdao_text_sink)(void* context, const wchar_t* text, size_t length);
typedef int32_t(QMXDAO_CALL* qmxdao_narrow_sink)(void* context, const char* text, size_t length);
/* One row of an own query: its columns as (name, text) pairs, sorted by name, one per name. */
typedef int32_t(QMXDAO_CALL* qmxdao_row_sink)(void* context, const qmxdao_text* names,
                                              const qmxdao_text* values, size_t count);

/* ----- Records ------------------------------------------------------------------------------ */

typedef enum qmxdao_record_kind {
  QMXDAO_CUSTOMER = 0,
  QMXDAO_ITEM = 1,
  QMXDAO_ITEM_QTY = 2,
  QMXDAO_ITEM_TYPE = 3,
  QMXDAO_MERCHANT = 4,
  QMXDAO_PURCHASE = 5,
  QMXDAO_SALE_ORDER = 6,
  QMXDAO_SALE_ORDER_SUMMARY = 7,
  QMXDAO_USER = 8
} qmxdao_record_kind;

/* How a column is held in the record: which field of qmxdao_value carries it. */
enum {
  QMXDAO_MEMBER_INT64 = 0, /* integer */
  QMXDAO_MEMBER_INT32 = 1, /* integer, within 32 bits */
  QMXDAO_MEMBER_FLOAT = 2, /* real, within float */
  QMXDAO_MEMBER_TEXT = 3   /* text, length */
};

typedef struct qmxdao_value {
  int64_t integer;
  double real;
  const wchar_t* text;
  size_t length;
} qmxdao_value;

typedef int32_t(QMXDAO_CALL* qmxdao_record_sink)(void* context, const qmxdao_value* values);
/* One column value of a record: its column's name, its value text and its data_type code. */
typedef int32_t(QMXDAO_CALL* qmxdao_column_value_sink)(void* context, const wchar_t* name,
                                                       size_t name_length, const wchar_t* text,
                                                       size_t text_length, int32_t code);

/* The record's column count and table name (static text of the library). */
QMXDAO_API(qmxdao_status)
qmxdao_record_shape(int32_t kind, int32_t* column_count, const wchar_t** table_name);
/* One column: its name (static text), data_type code and member kind. */
QMXDAO_API(qmxdao_status)
qmxdao_record_column(int32_t kind, int32_t column, const wchar_t** name, int32_t* code,
                     int32_t* member);
/* A new record as the record's constructor makes it. */
QMXDAO_API(qmxdao_status) qmxdao_record_new(int32_t kind, qmxdao_record_sink sink, void* context);
/* target after the record's copy assignment from source (the batch save's merge). */
QMXDAO_API(qmxdao_status)
qmxdao_record_assign(int32_t kind, const qmxdao_value* target, const qmxdao_value* source,
                     qmxdao_record_sink sink, void* context);

/* The record's setters, by exact column name: value->text for QMXDAO_SET_TEXT, ->integer for
 * QMXDAO_SET_INT and QMXDAO_SET_INT64, ->real for QMXDAO_SET_FLOAT. */
enum { QMXDAO_SET_TEXT = 0, QMXDAO_SET_INT = 1, QMXDAO_SET_FLOAT = 2, QMXDAO_SET_INT64 = 3 };
QMXDAO_API(qmxdao_status)
qmxdao_record_set_field(int32_t kind, const qmxdao_value* record, int32_t setter,
                        const wchar_t* column, size_t column_length, const qmxdao_value* value,
                        qmxdao_record_sink sink, void* context);
/* Every column's value text and code (getColumnValues). */
QMXDAO_API(qmxdao_status)
qmxdao_record_column_values(int32_t kind, const qmxdao_value* record, qmxdao_column_value_sink sink,
                            void* context);
/* The INSERT (statement 0) or UPDATE (statement 1) text for the columns in the given order. */
enum { QMXDAO_INSERT_SQL = 0, QMXDAO_UPDATE_SQL = 1 };
QMXDAO_API(qmxdao_status)
qmxdao_record_statement_sql(int32_t kind, int32_t statement, const qmxdao_text* columns,
                            size_t count, qmxdao_text_sink sink, void* context);

/* ----- Engine objects ---------------------------------------------------------------------- */

typedef struct qmxdao_db qmxdao_db;
typedef struct qmxdao_statement qmxdao_statement;
typedef struct qmxdao_query qmxdao_query;

/* Process-wide set-up: config(2) is the multi-thread mode and comes before initialize. */
QMXDAO_API(qmxdao_status) qmxdao_engine_config(int32_t mode);
QMXDAO_API(qmxdao_status) qmxdao_engine_initialize(void);
QMXDAO_API(qmxdao_status) qmxdao_engine_shutdown(void);

QMXDAO_API(qmxdao_status) qmxdao_db_new(qmxdao_db** db);
/* Closes the connection (rolling back what was not committed) and releases the handle. */
QMXDAO_API(qmxdao_status) qmxdao_db_free(qmxdao_db* db);
QMXDAO_API(qmxdao_status)
qmxdao_db_open(qmxdao_db* db, const wchar_t* path, size_t path_length, const wchar_t* key,
               size_t key_length);
QMXDAO_API(qmxdao_status) qmxdao_db_close(qmxdao_db* db);
QMXDAO_API(qmxdao_status) qmxdao_db_set_busy_timeout(qmxdao_db* db, int32_t milliseconds);
QMXDAO_API(qmxdao_status)
qmxdao_db_exec_dml(qmxdao_db* db, const wchar_t* sql, size_t length, int32_t* changed);
QMXDAO_API(qmxdao_status)
qmxdao_db_exec_query(qmxdao_db* db, const wchar_t* sql, size_t length, qmxdao_query** query);
QMXDAO_API(qmxdao_status)
qmxdao_db_compile_statement(qmxdao_db* db, const wchar_t* sql, size_t length,
                            qmxdao_statement** statement);
/* Re-keys the file at path to key when it opens with other_key (see CppSQLite3DB::resetKey). */
QMXDAO_API(qmxdao_status)
qmxdao_db_reset_key(qmxdao_db* db, const wchar_t* path, size_t path_length, const wchar_t* key,
                    size_t key_length, const wchar_t* other_key, size_t other_key_length);
/* The main file opened with the database key, as DBConnection opens it. */
QMXDAO_API(qmxdao_status) qmxdao_db_connection(qmxdao_db** db);

/* Parameters count from 1. A statement must be released before the db it came from. */
QMXDAO_API(qmxdao_status) qmxdao_statement_free(qmxdao_statement* statement);
QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_int(qmxdao_statement* statement, int32_t param, int32_t value);
QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_int64(qmxdao_statement* statement, int32_t param, int64_t value);
QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_double(qmxdao_statement* statement, int32_t param, double value);
/* A null text binds NULL. */
QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_text(qmxdao_statement* statement, int32_t param, const wchar_t* text,
                           size_t length);
QMXDAO_API(qmxdao_status) qmxdao_statement_bind_null(qmxdao_statement* statement, int32_t param);
/* Binds a column value text converted by its data_type code (Utility::sqlite_statement_bind). */
QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_value(qmxdao_statement* statement, int32_t param, const wchar_t* text,
                            size_t length, int32_t code);
QMXDAO_API(qmxdao_status) qmxdao_statement_exec_dml(qmxdao_statement* statement, int32_t* changed);
/* The query reads the statement's rows; release it before resetting the statement. */
QMXDAO_API(qmxdao_status)
qmxdao_statement_exec_query(qmxdao_statement* statement, qmxdao_query** query);
QMXDAO_API(qmxdao_status) qmxdao_statement_reset(qmxdao_statement* statement);
QMXDAO_API(qmxdao_status) qmxdao_statement_finalize(qmxdao_statement* statement);

/* A query stands on its first row. Fields count from 0. The texts given by field_name live as
 * long as the query; those of field_value until the next row. */
QMXDAO_API(qmxdao_status) qmxdao_query_free(qmxdao_query* query);
QMXDAO_API(qmxdao_status) qmxdao_query_eof(qmxdao_query* query, int32_t* eof);
QMXDAO_API(qmxdao_status) qmxdao_query_next_row(qmxdao_query* query);
QMXDAO_API(qmxdao_status) qmxdao_query_num_fields(qmxdao_query* query, int32_t* count);
QMXDAO_API(qmxdao_status)
qmxdao_query_field_name(qmxdao_query* query, int32_t field, const wchar_t** name, size_t* length);
/* A NULL field gives the null pointer. */
QMXDAO_API(qmxdao_status)
qmxdao_query_field_value(qmxdao_query* query, int32_t field, const wchar_t** text, size_t* length);
QMXDAO_API(qmxdao_status)
qmxdao_query_field_is_null(qmxdao_query* query, int32_t field, int32_t* is_null);
QMXDAO_API(qmxdao_status)
qmxdao_query_int_field(qmxdao_query* query, int32_t field, int32_t null_value, int32_t* value);
QMXDAO_API(qmxdao_status)
qmxdao_query_int64_field(qmxdao_query* query, int32_t field, int64_t null_value, int64_t* value);
QMXDAO_API(qmxdao_status)
qmxdao_query_float_field(qmxdao_query* query, int32_t field, double null_value, double* value);
QMXDAO_API(qmxdao_status) qmxdao_query_finalize(qmxdao_query* query);
/* The record's field from the query's current row by code (the record's readField). */
QMXDAO_API(qmxdao_status)
qmxdao_record_read_field(int32_t kind, const qmxdao_value* record, qmxdao_query* query,
                         int32_t field, int32_t code, qmxdao_record_sink sink, void* context);

/* ----- The data-access classes ------------------------------------------------------------ */

/* Writes count records in one transaction; *done is 0 only for an empty batch.
 * QMXDAO_MODIFY is the item's modify and is refused for every other kind. */
enum { QMXDAO_ADD = 0, QMXDAO_UPDATE = 1, QMXDAO_SAVE = 2, QMXDAO_MODIFY = 3 };
QMXDAO_API(qmxdao_status)
qmxdao_dao_write(int32_t kind, int32_t operation, const qmxdao_value* records, size_t count,
                 int32_t* done);
QMXDAO_API(qmxdao_status)
qmxdao_dao_delete(int32_t kind, const int64_t* ids, size_t count, int32_t* done);
/* keyed 0 counts on a plain main file (the customer's countNoKey); refused for other kinds. */
QMXDAO_API(qmxdao_status) qmxdao_dao_count(int32_t kind, int32_t keyed, int64_t* count);
/* The sink gets the record read, or a new record when no row has the ID. */
QMXDAO_API(qmxdao_status)
qmxdao_dao_find_by_id(int32_t kind, int64_t id, qmxdao_record_sink sink, void* context);
/* One sink call per row read; keyed 0 as for qmxdao_dao_count (findBySQLNoKey). */
QMXDAO_API(qmxdao_status)
qmxdao_dao_find_by_sql(int32_t kind, int32_t keyed, const wchar_t* sql, size_t length,
                       qmxdao_record_sink sink, void* context);

/* ----- The static helpers (class Utility) --------------------------------------------------- */

/* file: 0 and 1 the main file "db/QMX.db", 2 the sales file "db/SALE.db". */
QMXDAO_API(qmxdao_status) qmxdao_init_db(void);
QMXDAO_API(qmxdao_status) qmxdao_quit_db(void);
QMXDAO_API(qmxdao_status) qmxdao_current_working_dir(qmxdao_text_sink sink, void* context);
QMXDAO_API(qmxdao_status) qmxdao_db_name(int32_t file, qmxdao_text_sink sink, void* context);
QMXDAO_API(qmxdao_status) qmxdao_reset_db_key(int32_t file);
QMXDAO_API(qmxdao_status)
qmxdao_exec_dml(const wchar_t* sql, size_t length, int32_t file, int32_t* changed);
QMXDAO_API(qmxdao_status)
qmxdao_search_by_sql(const wchar_t* sql, size_t length, int32_t file, qmxdao_row_sink sink,
                     void* context);
QMXDAO_API(qmxdao_status)
qmxdao_item_count(const wchar_t* table, size_t table_length, const wchar_t* condition,
                  size_t condition_length, int32_t file, int64_t* count);
QMXDAO_API(qmxdao_status) qmxdao_db_version(int32_t file, qmxdao_text_sink sink, void* context);
QMXDAO_API(qmxdao_status)
qmxdao_db_version_of_file(const wchar_t* path, size_t length, qmxdao_text_sink sink, void* context);
QMXDAO_API(qmxdao_status)
qmxdao_create_sql(const wchar_t* table, size_t length, int32_t file, qmxdao_text_sink sink,
                  void* context);
/* One sink call per index statement. */
QMXDAO_API(qmxdao_status)
qmxdao_create_index_sql(const wchar_t* table, size_t length, int32_t file, qmxdao_text_sink sink,
                        void* context);
/* Utility::Format's conventions: "%s" a wide text, "%S" a narrow one, "%I64d" 64 bits. */
QMXDAO_API(qmxdao_status)
qmxdao_format_v(qmxdao_text_sink sink, void* context, const wchar_t* format, va_list args);
QMXDAO_C_EXPORT qmxdao_status qmxdao_format(qmxdao_text_sink sink, void* context,
                                            const wchar_t* format, ...);
/* The paging statement of BuildPagerSql's first form (ascending != 0 for ASC). */
QMXDAO_API(qmxdao_status)
qmxdao_build_pager_sql(const wchar_t* table, int32_t page_size, int32_t page_number,
                       const wchar_t* order_column, int32_t ascending, const wchar_t* condition,
                       qmxdao_text_sink sink, void* context);
/* Its second form, with an ORDER BY clause of the caller's. */
QMXDAO_API(qmxdao_status)
qmxdao_build_pager_sql_ordered(const wchar_t* table, int32_t page_size, int32_t page_number,
                               const wchar_t* order_clause, const wchar_t* condition,
                               qmxdao_text_sink sink, void* context);
QMXDAO_API(qmxdao_status)
qmxdao_build_count_sql(const wchar_t* table, const wchar_t* condition, qmxdao_text_sink sink,
                       void* context);
QMXDAO_API(qmxdao_status) qmxdao_now_time(qmxdao_text_sink sink, void* context);
/* The part of text that Trim keeps: from *first, *count units. */
QMXDAO_API(qmxdao_status)
qmxdao_trim(const wchar_t* text, size_t length, size_t* first, size_t* count);
/* The text in the active narrow code page; the sink gets the null pointer for the empty text. */
QMXDAO_API(qmxdao_status)
qmxdao_value_string(const wchar_t* text, size_t length, qmxdao_narrow_sink sink, void* context);
/* The text as UTF-8, with unreadable units shown readably (the exception's what()). */
QMXDAO_API(qmxdao_status)
qmxdao_readable_utf8(const wchar_t* text, size_t length, qmxdao_narrow_sink sink, void* context);
QMXDAO_API(qmxdao_status) qmxdao_value_int(const wchar_t* text, size_t length, int32_t* value);
QMXDAO_API(qmxdao_status)
qmxdao_value_int64(const wchar_t* text, size_t length, int64_t* value);
QMXDAO_API(qmxdao_status) qmxdao_value_float(const wchar_t* text, size_t length, float* value);
QMXDAO_API(qmxdao_status)
qmxdao_value_double(const wchar_t* text, size_t length, double* value);

#ifdef __cplusplus
}
#endif

#endif /* QMXDAO_C_API_H */
