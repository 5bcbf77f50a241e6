#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for FUZZ_SECONDS seconds (60 by default), starting from its committed seed corpus
# in fuzz/corpus/<target>/, whose files (earlier findings among them) all run first. New inputs
# go to build-fuzz/corpus/<target>/; an input that crashes a target is kept in
# build-fuzz/crashes/<target>/, and the script then exits non-zero.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${FUZZ_SECONDS:-60}
build=build-fuzz

packages=(cmake make pkg-config clang libclang-rt-14-dev libssl-dev libutfcpp-dev
  libcsv-dev)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done
# The pinned SQLCipher source comes from the npm registry (scripts/fetch-sqlcipher.sh).
if ! command -v npm >/dev/null; then missing+=(npm); fi
if ((${#missing[@]} > 0)); then
  echo "installing: ${missing[*]}"
  as_root=()
  if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for target in text_helpers_fuzz format_fuzz text_codec_fuzz bind_fuzz float_text_fuzz csv_reader_fuzz \
  c_boundary_fuzz; do
  if [[ ! -x $build/$target ]]; then
    summary+=("$target: not built (its source is missing)")
    continue
  fi
  mkdir -p "$build/corpus/$target" "$build/crashes/$target"
  log=$build/$target.log
  echo "== $target: ${seconds} s"
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$target/" \
    "$build/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result="CRASH (input in $build/crashes/$target/, log in $log)"
    failed+=("$target")
    grep -E 'ERROR|check failed|runtime error|SUMMARY' "$log" | head -5 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  summary+=("$target: ${runs:-?} executions, $result")
done

echo "== fuzzing summary (${seconds} s per target)"
printf '  %s\n' "${summary[@]}"
if ((${#failed[@]} > 0)); then
  echo "crashed: ${failed[*]}"
  exit 1
fi
