#!/usr/bin/env bash
# Measures how many typical faults the test suite catches. Each entry of scripts/mutations.txt
# is applied alone to the library's sources, the test binary is rebuilt incrementally in
# build-mutation/ and run until its first failure; then the source is restored. Each entry is
# reported as "caught", "missed", "no build" (fix the entry) or "stale" (its text is no longer
# found exactly once: bring the list in step with the code), and "caught K of N" comes last.
#
#   scripts/mutation-check.sh [--sample N] [--min K] [--report-only] [--timeout S] [--list] [NUM...]
#
#   NUM...         run only these entries (numbers as --list shows them; ranges like 3-7 too)
#   --sample N     run N entries spread evenly over the list (for CI)
#   --min K        exit 1 only when fewer than K are caught (default: when any is missed)
#   --report-only  always exit 0 (after printing the report)
#   --timeout S    per-entry limit on the test run, in seconds (default 300); a run that hits
#                  it counts as caught
#   --list         print the entries and exit
#   --skip-baseline  do not first check that the unchanged sources pass
#   --filter PATTERN run only the tests that match this GoogleTest filter (e.g. 'Customer*'), to
#                  see whether those tests alone catch an entry
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
LIST=scripts/mutations.txt
BUILD=${QMXDAO_MUTATION_BUILD:-build-mutation}
TESTS=$(realpath -m "$BUILD")/testing/qmxdao_tests

sample=0 min=-1 report_only=0 limit=300 list_only=0 baseline=1 filter='*' picked=()
while (($#)); do
  case $1 in
    --sample) sample=$2; shift ;;
    --min) min=$2; shift ;;
    --report-only) report_only=1 ;;
    --timeout) limit=$2; shift ;;
    --list) list_only=1 ;;
    --skip-baseline) baseline=0 ;;
    --filter) filter=$2; shift ;;
    [0-9]*-[0-9]*) for ((n = ${1%-*}; n <= ${1#*-}; n++)); do picked+=("$n"); done ;;
    [0-9]*) picked+=("$1") ;;
    *) echo "usage: see the head of $0" >&2; exit 2 ;;
  esac
  shift
done

# The list: blocks of "file:", "find:", "replace:" and "why:" lines; "#" lines and blank lines
# are ignored. A key repeated on the next line continues its text on a new line, for a fault
# that spans lines. The text after "key: " is taken exactly, leading spaces included.
files=() finds=() repls=() whys=() last=""
set_field() { # array, entry, key, text: a repeated key adds a line
  local -n field=$1
  (($2 < 0)) && { echo "$LIST: '$3:' before any 'file:'" >&2; exit 2; }
  if [[ $last == "$3" ]]; then field[$2]+=$'\n'$4; else field[$2]=$4; fi
  last=$3
}
while IFS= read -r line || [[ -n $line ]]; do
  [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
  key=${line%%:*} value=${line#*:} value=${value# }
  n=$((${#files[@]} - 1))
  case $key in
    file) files+=("$value") finds+=("") repls+=("") whys+=("") last="" ;;
    find) set_field finds "$n" "$key" "$value" ;;
    replace) set_field repls "$n" "$key" "$value" ;;
    why) set_field whys "$n" "$key" "$value" ;;
    *) echo "$LIST: unknown line: $line" >&2; exit 2 ;;
  esac
done <"$LIST"
total=${#files[@]}

if ((list_only)); then
  for ((i = 0; i < total; i++)); do printf '%3d  %-34s %s\n' $((i + 1)) "${files[i]}" "${whys[i]}"; done
  exit 0
fi

# Which entries run: those named, else N spread evenly, else all.
if ((${#picked[@]} == 0)); then
  if ((sample > 0 && sample < total)); then
    for ((i = 0; i < sample; i++)); do picked+=($((i * total / sample + 1))); done
  else
    for ((i = 1; i <= total; i++)); do picked+=("$i"); done
  fi
fi

# Every source goes back as it was, however the script ends. The restored copy gets a new
# modification time, so the next build recompiles what the mutant's build left behind.
mutated="" saved=$(mktemp)
restore() { if [[ -n $mutated ]]; then cat "$saved" >"$mutated"; mutated=""; fi; }
trap 'restore; rm -f "$saved"' EXIT
# The test run goes in the background (timeout gives it a process group of its own, which a
# Ctrl-C does not reach), so that an interruption ends it at once.
tests_pid=""
trap '[[ -n $tests_pid ]] && kill -TERM "$tests_pid" 2>/dev/null; echo "interrupted: sources restored" >&2; exit 130' INT TERM HUP

build() { nice -n 10 cmake --build "$BUILD" --target qmxdao_tests -j2 >"$BUILD/mutation-build.log" 2>&1; }
# Stops at the first failing test; a test that hangs is ended by the time limit.
run_tests() {
  (cd "$BUILD/testing" && exec nice -n 10 timeout -k 10 "$limit" "$TESTS" --gtest_fail_fast \
    --gtest_filter="$filter" --gtest_brief=1 >../mutation-test.log 2>&1) &
  tests_pid=$!
  wait "$tests_pid"
  local status=$?
  tests_pid=""
  return $status
}

if [[ ! -f $BUILD/CMakeCache.txt ]]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQMXDAO_BUILD_BENCH=OFF >/dev/null ||
    exit 2
fi
build || { echo "the unchanged sources do not build: see $BUILD/mutation-build.log" >&2; exit 2; }
if ((baseline)) && ! run_tests; then
  echo "the unchanged sources fail the suite: see $BUILD/mutation-test.log" >&2
  exit 2
fi

caught=0 missed=0 stale=0 nobuild=0 missed_list=""
for n in "${picked[@]}"; do
  i=$((n - 1))
  ((i < 0 || i >= total)) && { echo "no entry $n" >&2; exit 2; }
  file=${files[i]} label=$(printf '%3d %s: %s' "$n" "${files[i]}" "${whys[i]}")
  # The text must occur exactly once, else the entry no longer says which code it changes.
  count=$(FIND=${finds[i]} perl -0777 -ne '$c = () = /\Q$ENV{FIND}\E/g; print $c' "$file" 2>/dev/null)
  if [[ -z ${finds[i]} || ${count:-0} != 1 ]]; then
    echo "STALE    $label  (text found ${count:-0} times in $file)"
    stale=$((stale + 1))
    continue
  fi
  cp "$file" "$saved"
  mutated=$file
  FIND=${finds[i]} REPL=${repls[i]} perl -0777 -pi -e 's/\Q$ENV{FIND}\E/$ENV{REPL}/' "$file"
  if ! build; then
    echo "NO BUILD $label"
    nobuild=$((nobuild + 1))
  elif run_tests; then
    echo "missed   $label"
    missed=$((missed + 1)) missed_list+=" $n"
  else
    status=$?
    ((status == 124 || status == 137)) && note=" (time limit)" || note=""
    echo "caught   $label$note"
    caught=$((caught + 1))
  fi
  restore
done

if ((stale + nobuild)); then
  echo "!!! $stale stale and $nobuild not building: fix these entries in $LIST !!!"
fi
((missed)) && echo "missed:$missed_list"
echo "caught $caught of $((caught + missed))"
((report_only)) && exit 0
if ((min >= 0)); then ((caught >= min)) && exit 0 || exit 1; fi
((missed == 0)) && exit 0 || exit 1
