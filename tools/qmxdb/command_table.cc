#include "tools/qmxdb/commands.h"

namespace qmxdb {

const std::vector<Command>& commandTable() {
  static const std::vector<Command> table = {
      {"init", "create db/QMX.db and db/SALE.db beside this program, keyed",
       "Never overwrites: when either file exists, nothing is written.", declareInit},
      {"demo", "run one shop day through the library and show what it stored",
       "Registers merchants, item types, the catalogue with its stock, members and staff; buys\n"
       "stock; rings up sales and a return; saves new prices with the whole catalogue. Then\n"
       "shows the tables' row counts, a page of the catalogue and the day's takings. The rows\n"
       "keep fixed keys, so a second run updates them instead of adding more. Creates the\n"
       "database files when both are missing.",
       declareDemo},
      {"sql", "run a query and print its rows as a table", "", declareSql},
      {"import", "load a CSV file into a record table through the record's batch save",
       "The first line names the columns exactly as the record writes them; columns left out\n"
       "keep the record's defaults, and an empty number is 0. A row whose natural key is stored\n"
       "already updates that row; the others are inserted. Lines that do not make a record (a\n"
       "wrong number of fields, a number that does not parse, broken quoting) are reported with\n"
       "their line numbers and skipped, and the exit status is then 1; the other lines are\n"
       "stored. An unknown column in the header stops the import before anything is stored\n"
       "(exit status 2). Each batch is one transaction.",
       declareImport},
      {"export", "write a table's rows or a query's rows as CSV, JSON or a table",
       "A table's rows come in its column order, a page at a time in rowid order; a query's\n"
       "columns come in name order. NULL and the empty text are both written empty. The CSV\n"
       "reads back with \"qmxdb import\".",
       declareExport},
      {"count", "count the rows of a table", "", declareCount},
      {"schema", "print a table's CREATE statement", "", declareSchema},
      {"rekey", "encrypt a plain database file with the database key",
       "A file that opens with the database key already is left as it is.", declareRekey},
      {"version", "print the schema version of the file", "", declareVersion},
  };
  return table;
}

}  // namespace qmxdb
