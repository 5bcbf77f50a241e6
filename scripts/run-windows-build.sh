#!/usr/bin/env bash
# Cross-builds the library for 32-bit Windows with Debian's MinGW-w64 (i686-w64-mingw32), so that
# the Windows branches of the platform layer are compiled on every change:
#  1. every library source (storage/, domain/, dao/) is compiled to an object with warnings as
#     errors. Debian ships no Windows SQLCipher or OpenSSL, so their headers come from the Linux
#     packages (plain C, the same on both systems) and the library itself is not linked;
#  2. the engine-free part (platform layer, text codec, text helpers) is linked into a DLL, and
#     windows/platform_check.cc into a program that calls the DLL through its import library;
#  3. the program runs under wine where it can: the i686 build needs a 32-bit wine (wine32, which
#     needs the i386 architecture); with only wine64 the same program is built for x86_64 and runs
#     there. What could not run is said at the end; a failed compile, link or check fails the
#     script.
# MinGW's "win32" thread model has no std::mutex in GCC 12, so the "posix" compilers are used.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=${WINDOWS_BUILD_DIR:-build-fwin}

install_missing() {
  local missing=()
  for package in "$@"; do
    if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
      missing+=("$package")
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  echo "installing: ${missing[*]}"
  local as_root=()
  if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends \
    "${missing[@]}" || { "${as_root[@]}" apt-get update && DEBIAN_FRONTEND=noninteractive \
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; }
}

install_missing g++-mingw-w64-i686 libsqlcipher-dev libssl-dev libutfcpp-dev
# Only for running the checks; the build does not need them.
install_missing g++-mingw-w64-x86-64 wine64 || echo "note: cannot install wine64 and the x86_64 compiler"

# The portable headers of the Linux packages, without the rest of /usr/include (glibc's headers
# must not shadow MinGW's).
stage=$build/include
rm -rf "$stage"
mkdir -p "$stage/openssl"
ln -s /usr/include/sqlcipher "$stage/sqlcipher"
ln -s /usr/include/openssl/* "$stage/openssl/"
ln -sf /usr/include/"$(gcc -print-multiarch)"/openssl/* "$stage/openssl/"
ln -s /usr/include/utf8cpp/utf8.h /usr/include/utf8cpp/utf8 "$stage/"

flags=(-std=c++17 -O2 -Wall -Wextra -Werror -I. -Iinclude -isystem "$stage")
link_flags=(-static -static-libgcc -static-libstdc++)
text_sources=(storage/platform.cc storage/text_codec.cc storage/utility_text.cc)
failed=0
report=()

# Step 1: every library source, for i686.
objects=$build/i686/objects
mkdir -p "$objects"
compiled=0
sources=()
for source in storage/*.cc domain/*.cc dao/*.cc; do
  [[ $source == *_test.cc ]] || sources+=("$source")
done
for source in "${sources[@]}"; do
  if i686-w64-mingw32-g++-posix "${flags[@]}" -DQMXDAOSERVICE_BUILDING -c "$source" \
    -o "$objects/$(basename "$source" .cc).o"; then
    compiled=$((compiled + 1))
  else
    echo "FAILED to compile for Windows: $source"
    failed=1
  fi
done
report+=("i686: $compiled of ${#sources[@]} library sources compiled (-O2 -Wall -Wextra -Werror)")
report+=("i686: QMXDAOService.dll not linked: no Windows build of SQLCipher and OpenSSL in Debian")

# Steps 2 and 3 for one target: the text DLL, the check program, and a run under wine.
build_and_run() {
  local arch=$1 run=$2
  local cxx=$arch-w64-mingw32-g++-posix out=$build/$arch
  if ! command -v "$cxx" >/dev/null; then
    report+=("$arch: no $cxx: check program not built")
    return
  fi
  mkdir -p "$out"
  if ! "$cxx" "${flags[@]}" -DQMXDAOSERVICE_BUILDING -shared "${text_sources[@]}" \
    -o "$out/qmxdao_text.dll" -Wl,--out-implib,"$out/libqmxdao_text.dll.a" "${link_flags[@]}" ||
    ! "$cxx" "${flags[@]}" windows/platform_check.cc storage/platform.cc storage/text_codec.cc \
      "$out/libqmxdao_text.dll.a" -o "$out/platform_check.exe" "${link_flags[@]}"; then
    report+=("$arch: FAILED to link the text DLL or the check program")
    failed=1
    return
  fi
  report+=("$arch: linked qmxdao_text.dll (platform layer, text codec, text helpers) and platform_check.exe")
  if [[ -z $run ]]; then
    report+=("$arch: platform_check.exe not run: no wine that runs $arch programs here")
    return
  fi
  export WINEPREFIX=$PWD/$build/wine-$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if (cd "$out" && "$run" ./platform_check.exe); then
    report+=("$arch: platform_check.exe passed under $(basename "$run")")
  else
    report+=("$arch: platform_check.exe FAILED under $(basename "$run")")
    failed=1
  fi
}

wine32=""
if command -v wine >/dev/null && [[ -e /usr/lib/wine/wine || -e /usr/lib/i386-linux-gnu/wine ]]; then
  wine32=$(command -v wine)
fi
wine64=""
if [[ -x /usr/lib/wine/wine64 ]]; then wine64=/usr/lib/wine/wine64; fi

build_and_run i686 "$wine32"
build_and_run x86_64 "$wine64"

echo "== Windows build"
printf '  %s\n' "${report[@]}"
exit "$failed"
