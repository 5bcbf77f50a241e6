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
       "columns in the query's order. Reals are written with every digit they need to read\n"
       "back exactly. In CSV, NULL and the empty text are both written empty; the CSV reads\n"
       "back with \"qmxdb import\". In JSON, integers and reals are numbers, NULL is null.",
       declareExport},
      {"count", "count the rows of a table", "", declareCount},
      {"schema", "print a table's CREATE statement", "", declareSchema},
      {"rekey", "encrypt a plain database file with the database key",
       "A file that opens with the database key already is left as it is.", declareRekey},
      {"version", "print the schema version of the file", "", declareVersion},
      {"check", "check that the files are sound: key, integrity, page HMACs, schema",
       "For each file (or the one --main or --sale names): opens it with the database key,\n"
       "runs the engine's integrity check and, where the engine has it, the page HMAC check,\n"
       "and compares its tables, columns and natural-key indexes with this installation's.\n"
       "Exit status 0 only when every file is sound.",
       declareCheck},
      {"backup", "copy both files into DIR while the application may be using them",
       "Uses the engine's online backup, so the copies hold whole committed transactions\n"
       "even while other programs write. Each copy is reopened and its row counts compared\n"
       "with the file's. An existing copy in DIR is replaced only with --force.",
       declareBackup},
      {"restore", "put the copies in DIR back in place of the files",
       "Checks the copies first (as \"check\" does) and changes nothing when one is not\n"
       "sound. Waits for a program that is using a file (--wait), then replaces it in one\n"
       "step, keeping the replaced file as QMX.db.before-restore or SALE.db.before-restore.",
       declareRestore},
      {"upgrade", "add the natural-key indexes that files of an older installation lack",
       "Touches no rows and records nothing else; says what it added, and nothing to do when\n"
       "the files are up to date. Missing tables or columns are reported (exit status 1).",
       declareUpgrade},
  };
  return table;
}

}  // namespace qmxdb
