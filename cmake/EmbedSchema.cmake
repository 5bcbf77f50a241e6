# Writes the two schema files into a C++ source as raw string literals.
file(READ ${QMX} QMX_TEXT)
file(READ ${SALE} SALE_TEXT)
file(WRITE ${OUT} "// Generated from schema/QMX.sql and schema/SALE.sql.\n"
  "#include \"tools/qmxdb/schema_text.h\"\n"
  "namespace qmxdb {\n"
  "const char* mainSchemaSql() { return R\"qmxsql(${QMX_TEXT})qmxsql\"; }\n"
  "const char* saleSchemaSql() { return R\"qmxsql(${SALE_TEXT})qmxsql\"; }\n"
  "}  // namespace qmxdb\n")
