#!/usr/bin/env bash
# Hosts built by another compiler and standard library, or in another language, on the library
# that GCC built (in build/, from scripts/run-tests.sh), each reaching it through the C boundary
# alone:
#   1. the typed record suite compiled in the portable mode (QMXDAO_PORTABLE_API) by clang++ with
#      libc++ (GoogleTest built with libc++ too, cached in ~/.cache/qmxdao), linking only the test
#      build of the library;
#   2. examples/consumer, unchanged, compiled the same way against the installed library;
#   3. examples/python/customers.py through Python's ctypes.
# Prints one line per check and "N passed, M failed" last; exits 1 when any failed.
#   Usage: scripts/run-foreign-consumers.sh [BUILD_FOLDER]   (default: build)
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source=$PWD
build=$(realpath -m "${1:-build}")
googletest_version=1.12.1

packages=(clang libc++-dev libc++abi-dev googletest python3 cmake make)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$package")
done
if ((${#missing[@]} > 0)); then
  echo "installing: ${missing[*]}"
  as_root=()
  [[ $(id -u) -ne 0 ]] && as_root=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update >/dev/null
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null || exit 1
fi
for file in "$build/libQMXDAOService.so" "$build/testing/qmxdao_test_library.so" \
  "$build/tools/qmxdb/qmxdb"; do
  [[ -e $file ]] || { echo "run-foreign-consumers: $file is missing: run scripts/run-tests.sh" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {
  local name=$1
  shift
  if "$@" >"$work/log" 2>&1; then
    echo "PASSED $name"
    passed=$((passed + 1))
  else
    echo "FAILED $name"
    tail -n 30 "$work/log" | sed 's/^/    /'
    failed=$((failed + 1))
  fi
}
libcxx=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-stdlib=libc++
  -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++)

# GoogleTest for libc++: Debian's library is built for libstdc++.
gtest=${XDG_CACHE_HOME:-$HOME/.cache}/qmxdao/libcxx-googletest-$googletest_version
build_googletest() {
  [[ -f $gtest/lib/libgtest.a ]] && return 0
  cmake -S /usr/src/googletest -B "$work/googletest" "${libcxx[@]}" -DBUILD_GMOCK=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest" &&
    nice cmake --build "$work/googletest" -j2 && cmake --install "$work/googletest"
}

portable_suite() {
  cmake -S testing/portable -B "$work/suite" "${libcxx[@]}" -DCMAKE_PREFIX_PATH="$gtest" \
    -DQMXDAO_TEST_LIBRARY="$build/testing/qmxdao_test_library.so" &&
    nice cmake --build "$work/suite" -j2 &&
    timeout -k 10 600 "$work/suite/qmxdao_portable_tests" --gtest_brief=1
}

# Only the C boundary is linked: no libstdc++ in the program's own needs.
libcxx_only() {
  local needed
  needed=$(readelf -d "$1" | grep NEEDED) || return 1
  echo "$needed"
  grep -q 'libc++' <<<"$needed" && ! grep -q 'libstdc++' <<<"$needed"
}

consumer() {
  cmake --install "$build" --prefix "$work/prefix" >/dev/null &&
    cmake -S examples/consumer -B "$work/consumer" "${libcxx[@]}" \
      -DCMAKE_CXX_FLAGS="-stdlib=libc++ -DQMXDAO_PORTABLE_API" \
      -DCMAKE_PREFIX_PATH="$work/prefix" &&
    cmake --build "$work/consumer" -j2 &&
    libcxx_only "$work/consumer/consumer" &&
    (cd "$work/prefix/bin" && ./qmxdb init >/dev/null) &&
    cp -r "$work/prefix/bin/db" "$work/consumer/db" &&
    timeout -k 10 120 "$work/consumer/consumer" | tee "$work/consumer.out" &&
    grep -q "^1 customer(s) in shop-1, 1 in all$" "$work/consumer.out"
}

# The interpreter is the host executable: a copy of Debian's python3 gets the shop folder beside
# it.
python_ctypes() {
  mkdir -p "$work/python" &&
    cp "$(readlink -f /usr/bin/python3)" "$work/python/python3" &&
    cp "$build/tools/qmxdb/qmxdb" "$work/python/" &&
    (cd "$work/python" && ./qmxdb init >/dev/null) &&
    timeout -k 10 120 "$work/python/python3" "$source/examples/python/customers.py" \
      "$build/libQMXDAOService.so"
}

check "GoogleTest built with clang++ and libc++" build_googletest
check "the typed record suite, portable mode, clang++ and libc++, on the GCC-built library" \
  portable_suite
check "examples/consumer, portable mode, clang++ and libc++, on the installed library" consumer
check "a Python ctypes script saves and reads customers through the C boundary" python_ctypes
echo "$passed passed, $failed failed"
((failed == 0))
