#!/usr/bin/env bash
# Checks the installation of a build: installs it into a temporary prefix, builds
# examples/consumer against that prefix only (with find_package, and once more with pkg-config),
# creates the database files with the installed qmxdb and runs the consumer beside them.
# Usage: scripts/check-install.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/qmxdb include/QMXDAOService.h include/qmxdao/dao/CustomerDAOImpl.h \
  share/QMXDAOService/schema/QMX.sql share/QMXDAOService/schema/SALE.sql; do
  [[ -e $prefix/$file ]] || { echo "check-install: $file is not installed" >&2; exit 1; }
done
config=$(find "$prefix" -name QMXDAOServiceConfig.cmake)
pcfile=$(find "$prefix" -name QMXDAOService.pc)
[[ -n $config && -n $pcfile ]] || { echo "check-install: package files missing" >&2; exit 1; }

# The consumer's build sees the installed tree and nothing of the source tree's build.
cmake -S examples/consumer -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/consumer" -j2 >/dev/null

# Without its database files the consumer says how to make them, and fails.
if "$work/consumer/consumer" 2>"$work/hint.txt"; then
  echo "check-install: the consumer ran without db/QMX.db" >&2
  exit 1
fi
grep -q "qmxdb init" "$work/hint.txt"

# The installed tool makes the files beside itself (and finds the installed library from there);
# the consumer gets a copy of them beside its own executable.
"$prefix/bin/qmxdb" init >/dev/null
cp -r "$prefix/bin/db" "$work/consumer/db"
"$work/consumer/consumer"
"$work/consumer/consumer" | grep -q "^1 customer(s) in shop-1, 1 in all$"

# The same program through pkg-config.
export PKG_CONFIG_PATH=$(dirname "$pcfile")
libdir=$(pkg-config --variable=libdir QMXDAOService)
# shellcheck disable=SC2046
g++ -std=c++17 -Wall -Wextra -Werror examples/consumer/main.cc -o "$work/consumer/consumer-pc" \
  $(pkg-config --cflags --libs QMXDAOService) -Wl,-rpath,"$libdir"
"$work/consumer/consumer-pc" >/dev/null
echo "check-install: the installed tree builds and runs examples/consumer"
