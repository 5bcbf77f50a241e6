#include "tools/qmxdb/query_rows.h"

#include "qmxdao/storage/CppSQLite3DB.h"
#include "storage/query_reader.h"
#include "tools/qmxdb/text_numbers.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

Cell cellOf(CppSQLite3Query& query, int field) {
  Cell cell;
  switch (qmxdao::QueryReader::kind(query, field)) {
    case qmxdao::FieldKind::kNull:
      return cell;
    case qmxdao::FieldKind::kInteger:
      cell.kind = Cell::Kind::kInteger;
      break;
    case qmxdao::FieldKind::kReal:
      // The engine's own text of a real keeps 15 digits, which does not always read back.
      cell.kind = Cell::Kind::kReal;
      cell.text = realText(query.getFloatField(field));
      return cell;
    case qmxdao::FieldKind::kText:
    case qmxdao::FieldKind::kBlob:
      cell.kind = Cell::Kind::kText;
      break;
  }
  std::wstring text;
  qmxdao::QueryReader::text(query, field, text);
  cell.text = toUtf8(text);
  return cell;
}

}  // namespace

std::size_t runQuery(CppSQLite3DB& db, const std::wstring& sql, const ColumnsSink& columns,
                     const RowSink& row) {
  CppSQLite3Query query = db.execQuery(sql.c_str());
  std::vector<std::string> names;
  for (int field = 0; field < query.numFields(); ++field) {
    names.push_back(toUtf8(query.fieldName(field)));
  }
  columns(names);
  std::size_t count = 0;
  std::vector<Cell> cells(names.size());
  for (; !query.eof(); query.nextRow(), ++count) {
    for (int field = 0; field < query.numFields(); ++field) cells[field] = cellOf(query, field);
    row(cells);
  }
  query.finalize();
  return count;
}

}  // namespace qmxdb
