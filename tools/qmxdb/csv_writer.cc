#include "tools/qmxdb/csv_writer.h"

#include <csv.h>

namespace qmxdb {
namespace {

// A field that begins with the byte-order mark is quoted too: a reader drops the mark at the
// start of a file.
bool needsQuotes(const std::string& field) {
  return field.find_first_of(",\"\r\n") != std::string::npos ||
         field.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

void writeQuoted(std::ostream& out, const std::string& field) {
  std::string quoted(field.size() * 2 + 2, '\0');
  quoted.resize(csv_write(&quoted[0], quoted.size(), field.data(), field.size()));
  out << quoted;
}

}  // namespace

void writeCsvRow(std::ostream& out, const std::vector<std::string>& fields) {
  if (fields.size() == 1 && fields[0].empty()) {
    out << "\"\"\n";
    return;
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out << ',';
    if (needsQuotes(fields[i])) {
      writeQuoted(out, fields[i]);
    } else {
      out << fields[i];
    }
  }
  out << '\n';
}

}  // namespace qmxdb
