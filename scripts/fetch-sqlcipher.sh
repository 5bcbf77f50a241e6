#!/usr/bin/env bash
# Puts the pinned SQLCipher amalgamation (sqlite3.c, sqlite3.h) into a cache folder outside the
# checkout and prints that folder. The source is the npm package @journeyapps/sqlcipher@6.0.0,
# which ships SQLCipher 4.14.0 (SQLite 3.51.3) in deps/sqlcipher-amalgamation/; the packed file
# must match the sha512 integrity recorded here, or nothing is extracted. A second run finds the
# folder and does nothing. The amalgamation is never committed.
#   scripts/fetch-sqlcipher.sh [CACHE_DIR]    (default: $QMXDAO_CACHE or ~/.cache/qmxdao)
set -euo pipefail

package=@journeyapps/sqlcipher
version=6.0.0
integrity=sha512-YmWSQIR4cnv+5L38lYJoS/dIF/+bEZBaACATbeTyq4XKjMHcxdIlFnElBLiIqa9rwseOIimIYjudgOOCovud3Q==
engine=sqlcipher-4.14.0

cache=${1:-${QMXDAO_CACHE:-$HOME/.cache/qmxdao}}
target=$cache/$engine
if [[ -f $target/sqlite3.c && -f $target/sqlite3.h ]]; then
  echo "$target"
  exit 0
fi

if ! command -v npm >/dev/null; then
  echo "fetch-sqlcipher: npm is needed to fetch $package@$version" >&2
  exit 1
fi
mkdir -p "$cache"
work=$(mktemp -d "$cache/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "$package@$version" >/dev/null)
tarball=("$work"/*.tgz)
actual=sha512-$(openssl dgst -sha512 -binary "${tarball[0]}" | base64 -w0)
if [[ $actual != "$integrity" ]]; then
  echo "fetch-sqlcipher: $package@$version does not match its recorded integrity" >&2
  echo "  expected $integrity" >&2
  echo "  got      $actual" >&2
  exit 1
fi
tar -xzf "${tarball[0]}" -C "$work" package/deps/sqlcipher-amalgamation
grep -qx '3.51.3' "$work/package/deps/sqlcipher-amalgamation/VERSION.txt"
rm -rf "$target"
mv "$work/package/deps/sqlcipher-amalgamation" "$target"
echo "$target"
