#!/usr/bin/env bash
# Builds QMXDAOService for 32-bit Windows (i686-w64-mingw32) and tests it under wine32:
#  1. installs what is missing: the i386 architecture, MinGW-w64 (posix thread model), wine32,
#     the source-package tools and Debian's sqlcipher shell;
#  2. cross-builds OpenSSL's libcrypto, GoogleTest and libcsv from their Debian source packages
#     into a prefix cached outside the checkout, keyed by the source versions (a second run
#     reuses it); the header-only libraries (CLI11, nlohmann-json, utfcpp) are staged beside it;
#  3. builds the project with cmake/mingw-i686.cmake: QMXDAOService.dll with its import library,
#     qmxdb.exe and the test suite, in build-win/bin beside the DLLs of GCC's runtime;
#  4. runs the test suite under wine, then qmxdb.exe init and two demo days, reads the files
#     qmxdb.exe wrote with Debian's sqlcipher shell, and a file the shell wrote with qmxdb.exe;
#  5. installs the build into a folder and builds and runs examples/consumer against it.
# The last line counts every check (test cases and the script's own): "N passed, M failed".
# Exits non-zero on any failure. QMXDAO_CACHE moves the cache (default ~/.cache/qmxdao).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source_dir=$PWD

cache=${QMXDAO_CACHE:-$HOME/.cache/qmxdao}
build=${WINDOWS_BUILD_DIR:-$source_dir/build-win}
jobs=${JOBS:-2}
key=KRD1987

as_root=()
if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

log() { echo "== $*"; }

# --- 1. packages --------------------------------------------------------------------------------

installed() { dpkg -s "$1" 2>/dev/null | grep -q '^Status: install ok installed'; }

# Source lines beside the binary ones, so that apt-get source works.
add_source_lines() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 1
  fi
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  fi
}

install_packages() {
  local packages=(cmake make g++ pkg-config dpkg-dev patch perl sqlcipher libcli11-dev
    nlohmann-json3-dev libutfcpp-dev g++-mingw-w64-i686 wine wine32:i386)
  local missing=() update=0
  for package in "${packages[@]}"; do installed "$package" || missing+=("$package"); done
  # npm fetches the pinned engine; it may come with another nodejs than Debian's.
  command -v npm >/dev/null || missing+=(npm)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
    update=1
  fi
  add_source_lines && update=1
  ((${#missing[@]} == 0 && update == 0)) && return 0
  log "installing: ${missing[*]}"
  # A fresh package list lets apt upgrade the amd64 side of wine's libraries to match the i386
  # ones in the same command.
  "${as_root[@]}" apt-get update
  ((${#missing[@]} == 0)) ||
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# --- 2. the cross-built prefix ------------------------------------------------------------------

# Sets version[package] to a version of the Debian source package that is in the cache, or that
# can be fetched (the newest first: a mirror may lack the newest one's files).
declare -A version
sources=$cache/src
fetch_source() {
  local package=$1 v
  local versions
  versions=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -Vru)
  [[ -n $versions ]] || { echo "no source package $package (deb-src lines?)" >&2; return 1; }
  for v in $versions; do
    if [[ -f $sources/${package}_$v/.fetched ]]; then
      version[$package]=$v
      return 0
    fi
  done
  for v in $versions; do
    rm -rf "$sources/${package}_$v"
    mkdir -p "$sources/${package}_$v"
    if (cd "$sources/${package}_$v" && apt-get source --download-only "$package=$v" >/dev/null 2>&1); then
      touch "$sources/${package}_$v/.fetched"
      version[$package]=$v
      return 0
    fi
    rm -rf "$sources/${package}_$v"
  done
  echo "cannot fetch the source package $package" >&2
  return 1
}

# Unpacks a fetched source package (with Debian's patches applied) into a folder.
unpack_source() {
  local package=$1 into=$2
  dpkg-source --no-check -x "$sources/${package}_${version[$package]}"/*.dsc "$into" >/dev/null
}

build_prefix() {
  local prefix=$1 work
  work=$(mktemp -d "$cache/mingw-build.XXXXXX")
  local staging=$work/prefix
  mkdir -p "$staging/include" "$staging/lib"

  log "cross-building libcrypto from openssl ${version[openssl]}"
  unpack_source openssl "$work/openssl"
  (
    cd "$work/openssl"
    # Debian's position-independent-code patch is for Linux i386; the mingw assembler cannot
    # represent its GOT relocations.
    patch -R -p1 <debian/patches/pic.patch >/dev/null
    ./Configure mingw no-shared no-tests no-module no-dso \
      --cross-compile-prefix=i686-w64-mingw32- >/dev/null
    nice -n 10 make -j"$jobs" build_generated libcrypto.a >/dev/null
  )
  cp "$work/openssl/libcrypto.a" "$staging/lib/"
  cp -r "$work/openssl/include/openssl" "$staging/include/"

  log "cross-building GoogleTest ${version[googletest]}"
  unpack_source googletest "$work/googletest"
  cmake -S "$work/googletest" -B "$work/googletest-build" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$staging" >/dev/null
  nice -n 10 cmake --build "$work/googletest-build" -j"$jobs" >/dev/null
  cmake --install "$work/googletest-build" >/dev/null

  log "cross-building libcsv ${version[libcsv]}"
  unpack_source libcsv "$work/libcsv"
  i686-w64-mingw32-gcc -O2 -c "$work/libcsv/libcsv.c" -o "$work/libcsv/libcsv.o"
  i686-w64-mingw32-ar rcs "$staging/lib/libcsv.a" "$work/libcsv/libcsv.o"
  cp "$work/libcsv/csv.h" "$staging/include/"

  rm -rf "$prefix"
  mv "$staging" "$prefix"
  rm -rf "$work"
}

# The header-only libraries, copied from the Linux packages: adding /usr/include itself would
# let glibc's headers shadow MinGW's.
stage_header_libraries() {
  local stage=$1
  rm -rf "$stage"
  mkdir -p "$stage/include" "$stage/share/cmake"
  # With their own times kept, so that a new copy rebuilds nothing.
  cp -rp /usr/include/CLI /usr/include/nlohmann /usr/include/utf8cpp "$stage/include/"
  cp -rp /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$stage/share/cmake/"
}

# --- checks -------------------------------------------------------------------------------------

# Each check's line goes to the script's own output (descriptor 3), also when the checked
# command's output is sent elsewhere.
exec 3>&1
passed=0
failed=0
pass() {
  passed=$((passed + 1))
  echo "ok     $*" >&3
}
fail() {
  failed=$((failed + 1))
  echo "FAILED $*" >&3
}
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  echo "$passed passed, $failed failed"
  exit $((failed == 0 ? 0 : 1))
}

# --- 4. under wine -------------------------------------------------------------------------------

# A 32-bit wine prefix in the cache: made once (wineboot is slow), reused after.
export WINEPREFIX=$cache/wine-i686 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
prepare_wine() {
  [[ -f $WINEPREFIX/system.reg ]] && return 0
  log "making the wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
}

# Runs a Windows program under wine, its output without carriage returns.
win() { wine "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

run_test_suite() {
  local output=$build/test-output.txt
  log "the test suite under wine"
  (cd "$build/bin" && win ./qmxdao_tests.exe) >"$output" || true
  grep -E '^\[ *(FAILED|SKIPPED) *\] [A-Za-z]|^\[  (PASSED|FAILED|SKIPPED) *\] [0-9]' "$output" || true
  local ok bad skipped
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$output")
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$output")
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below.*/\1/p' "$output")
  if [[ -z $ok ]]; then
    fail "the test suite ran to its end (see $output)"
    return
  fi
  passed=$((passed + ok))
  failed=$((failed + ${bad:-0}))
  echo "test suite: $ok passed, ${bad:-0} failed, ${skipped:-0} skipped (output in $output)"
}

# The shell's answer to one query on a file under the database key.
shell_query() { printf "PRAGMA key='%s';\n%s\n" "$key" "$2" | sqlcipher -batch -bail "$1" 2>&1; }

# qmxdb.exe makes an installation and runs two shop days; Debian's sqlcipher shell reads what it
# wrote; then qmxdb.exe reads a file the shell wrote.
check_tool_and_shell() {
  local shop=$build/shop
  rm -rf "$shop"
  mkdir -p "$shop"
  cp "$build/bin/qmxdb.exe" "$build/bin/"*.dll "$shop/"
  log "qmxdb.exe under wine, and the files with Debian's sqlcipher shell"
  check "qmxdb.exe init" win "$shop/qmxdb.exe" init >/dev/null
  check "qmxdb.exe demo, first day" win "$shop/qmxdb.exe" demo >/dev/null
  check "qmxdb.exe demo, second day" win "$shop/qmxdb.exe" demo >/dev/null

  local file table count
  for file in QMX SALE; do
    check "the shell finds $file.db sound with the key" \
      test "$(shell_query "$shop/db/$file.db" 'PRAGMA integrity_check;')" = ok
  done
  for table in CUSTOMER ITEM SALE_ORDER; do
    count=$(win "$shop/qmxdb.exe" count "$table" || true)
    check "the shell counts the $count $table rows qmxdb.exe counts" \
      test "$(shell_query "$shop/db/$([[ $table == SALE_ORDER ]] && echo SALE || echo QMX).db" \
      "select count(*) from $table;")" = "$count"
  done
  check "the days stored sales" test "$(shell_query "$shop/db/SALE.db" \
    'select count(*) > 0 from SALE_ORDER;')" = 1
  check "the shell does not open the files without the key" \
    bash -c "! sqlcipher -batch '$shop/db/QMX.db' 'select count(*) from ITEM;' >/dev/null 2>&1"

  # A main file the shell makes, keyed, from the installation schema.
  local made=$build/shell-shop
  rm -rf "$made"
  mkdir -p "$made/db"
  cp "$build/bin/qmxdb.exe" "$build/bin/"*.dll "$made/"
  { printf "PRAGMA key='%s';\n" "$key"; cat schema/QMX.sql
    echo "insert into CUSTOMER (ID, ORG, CUSTOMER_NAME) values (41, 'shell', 'Wang Fang');"
  } | sqlcipher -batch -bail "$made/db/QMX.db" >/dev/null
  check "qmxdb.exe reads a file the shell wrote" test "$(win "$made/qmxdb.exe" export --query \
    "select ID, CUSTOMER_NAME from CUSTOMER where ORG='shell'" | tail -n 1)" = "41,Wang Fang"
}

# The installed tree: the DLL, its import library, the tool, the headers and the CMake package;
# examples/consumer built against it alone, run under wine.
check_install() {
  local prefix=$build/install consumer=$build/consumer
  rm -rf "$prefix" "$consumer"
  log "installing into $prefix and building examples/consumer against it"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  local file
  for file in bin/QMXDAOService.dll bin/qmxdb.exe bin/libgcc_s_dw2-1.dll lib/libQMXDAOService.dll.a \
    include/QMXDAOService.h lib/cmake/QMXDAOService/QMXDAOServiceConfig.cmake; do
    check "installed: $file" test -f "$prefix/$file"
  done
  check "examples/consumer configures against the installed package" \
    cmake -S examples/consumer -B "$consumer" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
    -DQMXDAO_MINGW_PREFIX="$prefix" >/dev/null
  check "examples/consumer builds" cmake --build "$consumer" -j"$jobs" >/dev/null
  # Beside the program: the DLL and the files that the installed qmxdb.exe makes.
  win "$prefix/bin/qmxdb.exe" init >/dev/null
  cp "$prefix/bin/"*.dll "$consumer/"
  cp -r "$prefix/bin/db" "$consumer/db"
  check "the consumer runs under wine" bash -c \
    "cd '$consumer' && wine ./consumer.exe 2>&1 | tr -d '\r' | grep -q '^1 customer(s) in shop-1, 1 in all$'"
}

main() {
  install_packages

  fetch_source openssl
  fetch_source googletest
  fetch_source libcsv
  local prefix="$cache/mingw-i686-openssl_${version[openssl]}-googletest_${version[googletest]}"
  prefix+="-libcsv_${version[libcsv]}"
  if [[ -f $prefix/lib/libcrypto.a && -f $prefix/lib/libgtest.a && -f $prefix/lib/libcsv.a ]]; then
    log "cross-built prefix: $prefix (cached)"
  else
    build_prefix "$prefix"
  fi
  stage_header_libraries "$build/staged"

  log "building the project for i686 Windows in $build"
  # The toolchain file's settings reach only a fresh cache.
  mkdir -p "$build"
  if ! cmp -s cmake/mingw-i686.cmake "$build/toolchain-of-the-cache.cmake"; then
    rm -f "$build/CMakeCache.txt"
    cp cmake/mingw-i686.cmake "$build/toolchain-of-the-cache.cmake"
  fi
  cmake -S "$source_dir" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
    -DQMXDAO_MINGW_PREFIX="$prefix;$build/staged" -DCMAKE_BUILD_TYPE=Release \
    -DQMXDAO_BUILD_BENCH=OFF >/dev/null
  if ! nice -n 10 cmake --build "$build" -j"$jobs"; then
    fail "the Windows build"
    finish
  fi
  pass "QMXDAOService.dll, qmxdb.exe and the test suite built for i686"

  prepare_wine
  run_test_suite
  check_tool_and_shell
  check_install
  finish
}

main "$@"
