// data_type: the code with which a column value enters a ColumnValueMap; it decides how the
// value is bound and how the column is read back. The records use 0, 3, 5 and 6; the binder
// binds nothing for the others.
#pragma once

namespace QMXDataDomain {

// A fixed underlying type: any 32-bit code is a valid value, not only the named ones.
enum data_type : int {
  type_int = 0,
  type_unused1 = 1,
  type_unused2 = 2,
  type_int64 = 3,
  type_unused4 = 4,
  type_float = 5,
  type_text = 6,
};

}  // namespace QMXDataDomain
