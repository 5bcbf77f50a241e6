#!/usr/bin/env bash
# Builds QMXDAOService for 32-bit (i686) and 64-bit (x86_64) Windows with MinGW-w64 and tests
# each build as far as this machine can run it:
#  1. finds out whether the kernel runs 32-bit programs (a 96-byte i386 program that only exits;
#     some kernels refuse them, and there wine32 cannot start), and installs what is missing:
#     MinGW-w64 for both architectures (posix thread model), wine64 (and the i386 architecture
#     with wine32 where 32-bit programs run), LLVM's dlltool, clang and lld for the
#     Microsoft-format import library, the source-package tools and Debian's sqlcipher shell;
#  2. cross-builds OpenSSL's libcrypto, GoogleTest and libcsv from their Debian source packages
#     for each architecture, into prefixes cached outside the checkout, keyed by the source
#     versions (a second run reuses them); the header-only libraries are staged beside them;
#  3. builds each architecture in build-win/ARCH: QMXDAOService.dll with MinGW's import library
#     and QMXDAOService.lib for Microsoft's linker, qmxdb.exe, the test build of the library
#     (qmxdao_test_library.dll), the test suite (where that architecture runs here) and the zip
#     of the installed tree; then the typed record suite in the portable mode (testing/portable),
#     built by MinGW with a static C++ runtime against the test library;
#  4. checks each build: the zip's contents (the C header and the portable headers among them),
#     the exports (every exported class of the public headers, and the C boundary's functions)
#     and imports (Windows system DLLs and the GCC runtime DLLs shipped beside them) of its
#     programs, that the portable suite imports no GCC runtime DLL, a C host compiled in
#     Microsoft's ABI linked by lld-link against the zip's QMXDAOService.lib, and
#     examples/consumer built against the unpacked zip alone;
#  5. where the architecture runs: under wine, the test suite, qmxdb.exe init and two demo days
#     whose files Debian's sqlcipher shell reads (and a file the shell wrote, read by qmxdb.exe),
#     the consumer, the Microsoft-ABI C host (customers saved and read through the C boundary,
#     the engine's codes for a wrong key and a missing file) and the portable suite.
# Every wine step has a time limit. What this machine cannot run is said, check by check, and
# counted as skipped. The last line counts every check: "N passed, M failed, K skipped". Exits
# non-zero on any failure. QMXDAO_CACHE moves the cache (default ~/.cache/qmxdao);
# QMXDAO_WINDOWS_ARCHES picks the architectures (default "i686 x86_64").
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source_dir=$PWD

cache=${QMXDAO_CACHE:-$HOME/.cache/qmxdao}
build=${WINDOWS_BUILD_DIR:-$source_dir/build-win}
arches=${QMXDAO_WINDOWS_ARCHES:-i686 x86_64}
jobs=${JOBS:-2}
key=KRD1987
mkdir -p "$cache" "$build"

# Two runs at once would share build-win and the wine prefixes: one suite meets the other's shop
# files and wineserver, and both stall until their time limits. A run holds a lock on build-win
# for its whole length (flock, which closes it for the programs it starts), and a second run
# waits for the first, at most an hour.
if [[ -z ${QMXDAO_WINDOWS_RUN_LOCKED:-} ]] && command -v flock >/dev/null; then
  export QMXDAO_WINDOWS_RUN_LOCKED=1
  flock -n -o "$build/.run-lock" true ||
    echo "== another run of this script is using $build: waiting for it to end (at most 60 min)"
  status=0
  flock -w 3600 -o -E 75 "$build/.run-lock" bash "$source_dir/scripts/run-windows-tests.sh" "$@" ||
    status=$?
  ((status != 75)) || echo "gave up: another run still holds $build/.run-lock after 60 minutes"
  exit "$status"
elif [[ -z ${QMXDAO_WINDOWS_RUN_LOCKED:-} ]]; then
  echo "== no flock here: nothing keeps a second run of this script out of $build"
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

log() { echo "== $*"; }

# --- checks -------------------------------------------------------------------------------------

# Each check's line goes to the script's own output (descriptor 3), also when the checked
# command's output is sent elsewhere.
exec 3>&1
passed=0
failed=0
skipped=0
pass() {
  passed=$((passed + 1))
  echo "ok      $*" >&3
}
fail() {
  failed=$((failed + 1))
  echo "FAILED  $*" >&3
}
skip() {
  skipped=$((skipped + 1))
  echo "SKIPPED $*" >&3
}
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  echo "$passed passed, $failed failed, $skipped skipped"
  exit $((failed == 0 ? 0 : 1))
}

# --- 1. what the kernel runs, and packages ------------------------------------------------------

# A static i386 ELF program of 96 bytes whose one instruction sequence is exit(32). A kernel
# without 32-bit support refuses it with "Exec format error".
runs_32bit_programs() {
  local probe
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'`
    `'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00'`
    `'\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'`
    `'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'`
    `'\xb8\x01\x00\x00\x00\xbb\x20\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  timeout 10 "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  ((status == 32))
}

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
    nlohmann-json3-dev libutfcpp-dev g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 llvm lld clang)
  local missing=() update=0
  if ((runs_32bit)); then
    packages+=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${as_root[@]}" dpkg --add-architecture i386
      update=1
    fi
  fi
  for package in "${packages[@]}"; do installed "$package" || missing+=("$package"); done
  # npm fetches the pinned engine; it may come with another nodejs than Debian's.
  command -v npm >/dev/null || missing+=(npm)
  add_source_lines && update=1
  ((${#missing[@]} == 0 && update == 0)) && return 0
  log "installing: ${missing[*]}"
  # A fresh package list lets apt upgrade the amd64 side of wine's libraries to match the i386
  # ones in the same command.
  "${as_root[@]}" apt-get update
  ((${#missing[@]} == 0)) ||
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# --- 2. the cross-built prefixes ----------------------------------------------------------------

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

prefix_of() {
  echo "$cache/mingw-$1-openssl_${version[openssl]}-googletest_${version[googletest]}-libcsv_${version[libcsv]}"
}

build_prefix() {
  local arch=$1 prefix=$2 work
  local triplet=$arch-w64-mingw32 openssl_target=mingw
  [[ $arch == x86_64 ]] && openssl_target=mingw64
  work=$(mktemp -d "$cache/mingw-build.XXXXXX")
  local staging=$work/prefix
  mkdir -p "$staging/include" "$staging/lib"

  log "cross-building libcrypto from openssl ${version[openssl]} for $arch"
  unpack_source openssl "$work/openssl"
  (
    cd "$work/openssl"
    # Debian's position-independent-code patch is for Linux i386; the mingw assembler cannot
    # represent its GOT relocations.
    patch -R -p1 <debian/patches/pic.patch >/dev/null
    ./Configure "$openssl_target" no-shared no-tests no-module no-dso \
      --cross-compile-prefix="$triplet-" >/dev/null
    nice -n 10 make -j"$jobs" build_generated libcrypto.a >/dev/null
  )
  cp "$work/openssl/libcrypto.a" "$staging/lib/"
  cp -r "$work/openssl/include/openssl" "$staging/include/"

  log "cross-building GoogleTest ${version[googletest]} for $arch"
  unpack_source googletest "$work/googletest"
  cmake -S "$work/googletest" -B "$work/googletest-build" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$staging" >/dev/null
  nice -n 10 cmake --build "$work/googletest-build" -j"$jobs" >/dev/null
  cmake --install "$work/googletest-build" >/dev/null

  log "cross-building libcsv ${version[libcsv]} for $arch"
  unpack_source libcsv "$work/libcsv"
  "$triplet-gcc" -O2 -c "$work/libcsv/libcsv.c" -o "$work/libcsv/libcsv.o"
  "$triplet-ar" rcs "$staging/lib/libcsv.a" "$work/libcsv/libcsv.o"
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

# --- 3. the builds ------------------------------------------------------------------------------

# Builds one architecture in build-win/ARCH and its zip: the DLL, the tool and the test build of
# the library (for the portable suite) always, the whole test suite only where it runs here. The
# zip is made by cpack directly: the package target would build the whole suite first.
build_project() {
  local arch=$1 prefix=$2 with_suite=$3 dir=$build/$1
  local targets=(--target QMXDAOService qmxdb qmxdao_test_library)
  [[ $with_suite == yes ]] && targets=()
  log "building the project for $arch Windows in $dir (test suite: $with_suite)"
  # The toolchain files' settings reach only a fresh cache.
  mkdir -p "$dir"
  local toolchain=$dir/toolchain-of-the-cache.cmake
  if ! cat "cmake/mingw-$arch.cmake" cmake/mingw-common.cmake | cmp -s - "$toolchain"; then
    rm -f "$dir/CMakeCache.txt"
    cat "cmake/mingw-$arch.cmake" cmake/mingw-common.cmake >"$toolchain"
  fi
  cmake -S "$source_dir" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-$arch.cmake" \
    -DQMXDAO_MINGW_PREFIX="$prefix;$build/staged" -DCMAKE_BUILD_TYPE=Release \
    -DQMXDAO_BUILD_BENCH=OFF -DQMXDAO_BUILD_TESTS=ON >/dev/null &&
    nice -n 10 cmake --build "$dir" -j"$jobs" "${targets[@]}" &&
    (cd "$dir" && rm -f QMXDAOService-*.zip && cpack --config CPackConfig.cmake >/dev/null)
}

# --- 4. what is checked without running ---------------------------------------------------------

# The classes and structures the public headers export.
exported_classes() {
  grep -rhoE '(class|struct) QMX_EXPORT [A-Za-z_0-9]+' include | awk '{print $3}' | sort -u
}

# Every class of the public headers has exported symbols in the DLL (a mangled name holds a
# class as its length and name): a check for each.
check_exports() {
  local arch=$1 dll=$2 exports class
  exports=$("$arch-w64-mingw32-objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,$p')
  for class in $(exported_classes); do
    check "$arch: the DLL exports $class" grep -q "[^0-9]${#class}${class}" <<<"$exports"
  done
  local c_functions
  c_functions=$(grep -cE '\] qmxdao_[a-z0-9_]+$' <<<"$exports" || true)
  check "$arch: the DLL exports the C boundary ($c_functions qmxdao_ functions, at least 70)" \
    test "$c_functions" -ge 70
}

# A program imports only Windows system DLLs and DLLs in its own folder.
imports_only_system_and_beside() {
  local arch=$1 file=$2 dll bad=()
  while read -r dll; do
    [[ -f $(dirname "$file")/$dll ]] && continue
    case ${dll,,} in
      kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll | ws2_32.dll | crypt32.dll | \
        bcrypt.dll | ntdll.dll | shell32.dll | ole32.dll | api-ms-win-*.dll) ;;
      *) bad+=("$dll") ;;
    esac
  done < <("$arch-w64-mingw32-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
  ((${#bad[@]} == 0)) || echo "$(basename "$file") imports ${bad[*]}" >&2
  ((${#bad[@]} == 0))
}

check_imports() {
  local arch=$1 folder=$2 file
  for file in "$folder"/*.dll "$folder"/*.exe; do
    check "$arch: $(basename "$file") imports only Windows system DLLs and the DLLs beside it" \
      imports_only_system_and_beside "$arch" "$file"
  done
}

# The zip of one architecture, unpacked into build-win/ARCH/unpacked; sets the tree's folder.
unpack_zip() {
  local arch=$1 dir=$build/$1 zip
  zip=$(ls "$dir"/QMXDAOService-*.zip 2>/dev/null | head -n 1)
  [[ -n $zip ]] || { echo "no zip in $dir" >&2; return 1; }
  rm -rf "$dir/unpacked"
  mkdir -p "$dir/unpacked"
  (cd "$dir/unpacked" && cmake -E tar xf "$zip")
  tree=$(echo "$dir/unpacked"/QMXDAOService-*)
  [[ -d $tree ]]
}

check_zip_contents() {
  local tree=$1 file missing=()
  for file in bin/QMXDAOService.dll bin/qmxdb.exe bin/libstdc++-6.dll bin/libwinpthread-1.dll \
    lib/libQMXDAOService.dll.a lib/QMXDAOService.lib include/QMXDAOService.h \
    include/qmxdao/dao/CustomerDAOImpl.h include/qmxdao/c_api.h include/qmxdao/portable/dao.h \
    lib/cmake/QMXDAOService/QMXDAOServiceConfig.cmake \
    share/QMXDAOService/schema/QMX.sql; do
    [[ -f $tree/$file ]] || missing+=("$file")
  done
  compgen -G "$tree/bin/libgcc_s_*.dll" >/dev/null || missing+=("bin/libgcc_s_*.dll")
  ((${#missing[@]} == 0)) || echo "missing from the zip: ${missing[*]}" >&2
  ((${#missing[@]} == 0))
}

# The Microsoft-ABI host (windows/msvc_customers.c): compiled to a COFF object by clang with the
# zip's C header, linked by lld-link against the zip's QMXDAOService.lib and an import library
# for the two kernel32 functions it prints with (made here by llvm-dlltool; on i686 their
# __stdcall names carry the argument bytes, which the DLL's export names do not), with no C
# runtime, into build-win/ARCH/msvc-host.
build_msvc_customers() {
  local arch=$1 tree=$2 dir=$build/$1 machine=x64 dll_machine=i386:x86-64 stdcall=("" "")
  if [[ $arch == i686 ]]; then machine=x86 dll_machine=i386 stdcall=(@4 @20); fi
  local host=$dir/msvc-host
  rm -rf "$host"
  mkdir -p "$host"
  printf 'LIBRARY kernel32.dll\nEXPORTS\nGetStdHandle%s\nWriteFile%s\n' "${stdcall[@]}" \
    >"$dir/kernel32.def"
  llvm-dlltool -m "$dll_machine" -k -d "$dir/kernel32.def" -l "$dir/kernel32.lib" &&
    clang --target="$arch-pc-windows-msvc" -O2 -ffreestanding -fno-stack-protector -Wall -Werror \
      -I"$tree/include" -c windows/msvc_customers.c -o "$dir/msvc_customers.obj" &&
    lld-link /nologo /machine:"$machine" /subsystem:console /entry:customers_main /nodefaultlib \
      /safeseh:no /out:"$host/msvc_customers.exe" "$dir/msvc_customers.obj" \
      "$tree/lib/QMXDAOService.lib" "$dir/kernel32.lib"
}

build_consumer() {
  local arch=$1 tree=$2 consumer=$build/$1/consumer
  rm -rf "$consumer"
  cmake -S examples/consumer -B "$consumer" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-$arch.cmake" \
    -DQMXDAO_MINGW_PREFIX="$tree" >/dev/null &&
    cmake --build "$consumer" -j"$jobs" >/dev/null
}

# --- 5. under wine ------------------------------------------------------------------------------

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One wine prefix per architecture in the cache: made once (wineboot is slow), reused after.
use_wine() {
  if [[ $1 == x86_64 ]]; then
    export WINEPREFIX=$cache/wine-x86_64 WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  else
    export WINEPREFIX=$cache/wine-i686 WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
  fi
}

# Runs a Windows program under wine for at most wine_limit seconds (default 180), its output
# without carriage returns; a program stopped at the limit says so, and its wineserver goes too.
wine_limit=180
win() {
  local status=0
  timeout -k 10 "$wine_limit" "$WINELOADER" "$@" 2>&1 | tr -d '\r' || status=${PIPESTATUS[0]}
  if ((status == 124 || status == 137)); then
    echo "wine: $* stopped after ${wine_limit} s"
    timeout 30 wineserver -k >/dev/null 2>&1 || true
  fi
  return "$status"
}

prepare_wine() {
  [[ -f $WINEPREFIX/system.reg ]] && return 0
  log "making the wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  timeout -k 10 300 "$WINELOADER" wineboot --init >/dev/null 2>&1 &&
    timeout -k 10 120 wineserver -w
}

run_test_suite() {
  local arch=$1 dir=$build/$1
  local output=$dir/test-output.txt
  log "the $arch test suite under wine"
  (cd "$dir/bin" && wine_limit=1800 win ./qmxdao_tests.exe) >"$output" || true
  grep -E '^\[ *(FAILED|SKIPPED) *\] [A-Za-z]|^\[  (PASSED|FAILED|SKIPPED) *\] [0-9]' "$output" || true
  local ok bad skipped_tests
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$output")
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$output")
  skipped_tests=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below.*/\1/p' "$output")
  if [[ -z $ok ]]; then
    fail "$arch: the test suite ran to its end (see $output)"
    return
  fi
  passed=$((passed + ok))
  failed=$((failed + ${bad:-0}))
  echo "$arch test suite: $ok passed, ${bad:-0} failed, ${skipped_tests:-0} skipped (output in $output)"
}

# The shell's answer to one query on a file under the database key.
shell_query() { printf "PRAGMA key='%s';\n%s\n" "$key" "$2" | sqlcipher -batch -bail "$1" 2>&1; }

# qmxdb.exe makes an installation and runs two shop days; Debian's sqlcipher shell reads what it
# wrote; then qmxdb.exe reads a file the shell wrote.
check_tool_and_shell() {
  local arch=$1 bin=$2 dir=$build/$1
  local shop=$dir/shop
  rm -rf "$shop"
  mkdir -p "$shop"
  cp "$bin/qmxdb.exe" "$bin/"*.dll "$shop/"
  log "$arch qmxdb.exe under wine, and its files with Debian's sqlcipher shell"
  check "$arch: qmxdb.exe init" win "$shop/qmxdb.exe" init >/dev/null
  check "$arch: qmxdb.exe demo, first day" win "$shop/qmxdb.exe" demo >/dev/null
  check "$arch: qmxdb.exe demo, second day" win "$shop/qmxdb.exe" demo >/dev/null

  local file table count
  for file in QMX SALE; do
    check "$arch: the shell finds $file.db sound with the key" \
      test "$(shell_query "$shop/db/$file.db" 'PRAGMA integrity_check;')" = ok
  done
  for table in CUSTOMER ITEM SALE_ORDER; do
    count=$(win "$shop/qmxdb.exe" count "$table" || true)
    check "$arch: the shell counts the $count $table rows qmxdb.exe counts" \
      test "$(shell_query "$shop/db/$([[ $table == SALE_ORDER ]] && echo SALE || echo QMX).db" \
      "select count(*) from $table;")" = "$count"
  done
  check "$arch: the days stored sales" test "$(shell_query "$shop/db/SALE.db" \
    'select count(*) > 0 from SALE_ORDER;')" = 1
  check "$arch: the shell does not open the files without the key" \
    bash -c "! sqlcipher -batch '$shop/db/QMX.db' 'select count(*) from ITEM;' >/dev/null 2>&1"

  # A main file the shell makes, keyed, from the installation schema.
  local made=$dir/shell-shop
  rm -rf "$made"
  mkdir -p "$made/db"
  cp "$bin/qmxdb.exe" "$bin/"*.dll "$made/"
  { printf "PRAGMA key='%s';\n" "$key"; cat schema/QMX.sql
    echo "insert into CUSTOMER (ID, ORG, CUSTOMER_NAME) values (41, 'shell', 'Wang Fang');"
  } | sqlcipher -batch -bail "$made/db/QMX.db" >/dev/null
  check "$arch: qmxdb.exe reads a file the shell wrote" test "$(win "$made/qmxdb.exe" export --query \
    "select ID, CUSTOMER_NAME from CUSTOMER where ORG='shell'" | tail -n 1)" = "41,Wang Fang"
}

# The consumer built against the zip, run beside the zip's DLLs and the files its qmxdb.exe made.
run_consumer() {
  local arch=$1 tree=$2 consumer=$build/$1/consumer
  win "$tree/bin/qmxdb.exe" init >/dev/null || return 1
  cp "$tree/bin/"*.dll "$consumer/"
  cp -r "$tree/bin/db" "$consumer/db"
  (cd "$consumer" && win ./consumer.exe | grep -q '^1 customer(s) in shop-1, 1 in all$')
}

# The Microsoft-ABI host, in a folder of its own beside the zip's DLLs and the files the zip's
# qmxdb.exe init made there; its lines are shown indented, its exit code is its first failed check.
run_msvc_customers() {
  local arch=$1 tree=$2 host=$build/$1/msvc-host status=0
  cp "$tree/bin/"*.dll "$tree/bin/qmxdb.exe" "$host/"
  rm -rf "$host/db"
  (cd "$host" && win ./qmxdb.exe init >/dev/null) || return 1
  (cd "$host" && win ./msvc_customers.exe) >"$host/output.txt" || status=$?
  sed 's/^/    /' "$host/output.txt"
  ((status == 0)) || echo "msvc_customers.exe exited with $status" >&2
  return "$status"
}

# The typed record suite in the portable mode (testing/portable), built by MinGW with a static
# C++ runtime against the import library of the test build of the library, in
# build-win/ARCH/portable; beside it, the test library's DLL and the GCC runtime DLLs that DLL uses.
build_portable_suite() {
  local arch=$1 prefix=$2 dir=$build/$1 implib
  implib=$(find "$dir/testing" "$dir" -maxdepth 1 -name '*qmxdao_test_library.dll.a' | head -n 1)
  [[ -n $implib ]] || { echo "no import library of qmxdao_test_library.dll in $dir" >&2; return 1; }
  log "the $arch portable suite, against $implib"
  cmake -S testing/portable -B "$dir/portable" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQMXDAO_MINGW_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DQMXDAO_TEST_LIBRARY="$implib" >/dev/null &&
    nice -n 10 cmake --build "$dir/portable" -j"$jobs" >/dev/null &&
    cp "$dir/bin/qmxdao_test_library.dll" "$dir/bin/libstdc++-6.dll" "$dir/bin/libgcc_s_"*.dll \
      "$dir/bin/libwinpthread-1.dll" "$dir/portable/"
}

# A program that imports neither libstdc++ nor libgcc: its C++ runtime is its own.
imports_no_gcc_runtime() {
  local arch=$1 file=$2 gcc
  gcc=$("$arch-w64-mingw32-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' |
    grep -iE '^(libstdc\+\+|libgcc_s_)' || true)
  [[ -z $gcc ]] || echo "$(basename "$file") imports $gcc" >&2
  [[ -z $gcc ]]
}

run_portable_suite() {
  local arch=$1 dir=$build/$1/portable ok bad
  (cd "$dir" && wine_limit=900 win ./qmxdao_portable_tests.exe) >"$dir/output.txt" || true
  grep -E '^\[  (PASSED|FAILED|SKIPPED) *\] [0-9]|^\[ *(FAILED|SKIPPED) *\] [A-Za-z]' \
    "$dir/output.txt" | sed 's/^/    /'
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$dir/output.txt")
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$dir/output.txt")
  [[ -n $ok && -z $bad ]] || { echo "see $dir/output.txt" >&2; return 1; }
}

# --- one architecture ---------------------------------------------------------------------------

# Builds and checks one architecture; runs what needs wine only where it runs here.
windows_arch() {
  local arch=$1 runs=$2 prefix tree
  local why="this kernel cannot execute 32-bit programs, so wine32 cannot start"
  prefix=$(prefix_of "$arch")
  if [[ -f $prefix/lib/libcrypto.a && -f $prefix/lib/libgtest.a && -f $prefix/lib/libcsv.a ]]; then
    log "cross-built prefix: $prefix (cached)"
  else
    build_prefix "$arch" "$prefix"
  fi
  if ! build_project "$arch" "$prefix" "$( ((runs)) && echo yes || echo no)"; then
    fail "$arch: the Windows build"
    return
  fi
  pass "$arch: QMXDAOService.dll, both import libraries, qmxdb.exe, the test library$( ((runs)) && echo ', the test suite') and the zip built"

  unpack_zip "$arch" || { fail "$arch: the zip unpacks"; return; }
  check "$arch: the zip holds the DLL, its runtime, both import libraries, the tool, headers and package" \
    check_zip_contents "$tree"
  check_exports "$arch" "$tree/bin/QMXDAOService.dll"
  check_imports "$arch" "$tree/bin"
  check "$arch: the Microsoft-ABI C host links against QMXDAOService.lib with lld-link" \
    build_msvc_customers "$arch" "$tree"
  check "$arch: examples/consumer builds against the unpacked zip alone" build_consumer "$arch" "$tree"
  local portable=0
  if build_portable_suite "$arch" "$prefix"; then
    portable=1
    pass "$arch: the portable suite builds with a static C++ runtime against the test library"
    check "$arch: qmxdao_portable_tests.exe imports neither libstdc++ nor libgcc" \
      imports_no_gcc_runtime "$arch" "$build/$arch/portable/qmxdao_portable_tests.exe"
  else
    fail "$arch: the portable suite builds with a static C++ runtime against the test library"
  fi

  if ((!runs)); then
    for what in "the test suite (not built)" "qmxdb.exe and the files it writes, read by the shell" \
      "examples/consumer's run" "the Microsoft-ABI C host's run" "the portable suite's run"; do
      skip "$arch: $what: $why"
    done
    return
  fi
  use_wine "$arch"
  if ! prepare_wine; then
    fail "$arch: making the wine prefix $WINEPREFIX"
    return
  fi
  run_test_suite "$arch"
  check_tool_and_shell "$arch" "$build/$arch/bin"
  check "$arch: examples/consumer runs under wine" run_consumer "$arch" "$tree"
  check "$arch: the Microsoft-ABI C host saves and reads customers and gets the engine's codes" \
    run_msvc_customers "$arch" "$tree"
  if ((portable)); then
    check "$arch: the portable suite passes under wine" run_portable_suite "$arch"
  else
    fail "$arch: the portable suite's run (not built)"
  fi
}

main() {
  runs_32bit=0
  if runs_32bit_programs; then runs_32bit=1; fi
  log "this kernel $( ((runs_32bit)) && echo runs || echo "cannot run") 32-bit programs:" \
    "$( ((runs_32bit)) && echo "i686 and x86_64 are tested under wine" ||
      echo "i686 is built and inspected, x86_64 is tested under wine64")"
  install_packages

  fetch_source openssl
  fetch_source googletest
  fetch_source libcsv
  stage_header_libraries "$build/staged"

  local arch runs
  for arch in $arches; do
    runs=1
    [[ $arch == i686 ]] && runs=$runs_32bit
    windows_arch "$arch" "$runs"
  done
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  finish
}

main "$@"
