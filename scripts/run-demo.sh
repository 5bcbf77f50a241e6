#!/usr/bin/env bash
# Builds the library and the qmxdb tool, creates the shop's database files in the db folder
# beside the tool when they are missing, and runs the demonstration: one shop day through the
# library, then what the tables hold.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target qmxdb

qmxdb=build/tools/qmxdb/qmxdb
if [[ ! -f build/tools/qmxdb/db/QMX.db && ! -f build/tools/qmxdb/db/SALE.db ]]; then
  "$qmxdb" init
fi
"$qmxdb" demo
