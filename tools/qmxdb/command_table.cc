#include "tools/qmxdb/commands.h"

namespace qmxdb {

const std::vector<Command>& commandTable() {
  static const std::vector<Command> table = {
      {"init", "", "create db/QMX.db and db/SALE.db beside this program", runInit},
      {"sql", "[--sale] \"SQL\"", "run a query and print its rows as a table", runSql},
      {"version", "[--sale]", "print the schema version of the file", runVersion},
  };
  return table;
}

}  // namespace qmxdb
