#include "tools/qmxdb/table_printer.h"

#include <utf8.h>

#include <algorithm>

namespace qmxdb {
namespace {

// Width in characters, not bytes, so that non-ASCII text lines up.
std::size_t displayWidth(const std::string& utf8Text) {
  return static_cast<std::size_t>(utf8::distance(utf8Text.begin(), utf8Text.end()));
}

void printLine(std::ostream& out, const std::vector<std::string>& cells,
               const std::vector<std::size_t>& widths) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << " | ";
    out << cells[i];
    // The last column gets no padding, so lines carry no trailing blanks.
    if (i + 1 < cells.size()) out << std::string(widths[i] - displayWidth(cells[i]), ' ');
  }
  out << '\n';
}

}  // namespace

void printTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& lines, bool countRows) {
  if (!header.empty()) {
    std::vector<std::size_t> widths;
    for (const std::string& name : header) widths.push_back(displayWidth(name));
    for (const auto& cells : lines) {
      for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
        widths[i] = std::max(widths[i], displayWidth(cells[i]));
      }
    }

    printLine(out, header, widths);
    for (std::size_t i = 0; i < widths.size(); ++i) {
      if (i > 0) out << "-+-";
      out << std::string(widths[i], '-');
    }
    out << '\n';
    for (const auto& cells : lines) printLine(out, cells, widths);
  }
  if (countRows) out << "(" << lines.size() << (lines.size() == 1 ? " row)\n" : " rows)\n");
}

}  // namespace qmxdb
