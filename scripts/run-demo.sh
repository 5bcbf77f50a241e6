#!/usr/bin/env bash
# Builds the library and the qmxdb tool, creates the shop's database files in the db folder
# beside the tool (once), and shows what they hold.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

qmxdb=build/tools/qmxdb/qmxdb
if [[ ! -f build/tools/qmxdb/db/QMX.db ]]; then
  "$qmxdb" init
fi
"$qmxdb" sql "select name, type from sqlite_master where type='table' order by name"
"$qmxdb" sql --sale "select name, type from sqlite_master where type='table' order by name"
echo "schema version: $("$qmxdb" version)"
