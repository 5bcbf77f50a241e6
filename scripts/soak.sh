#!/usr/bin/env bash
# A soak of a busy till: for SECONDS (default 60), 8 worker processes (build/reliability/
# qmxdao_soak) make mixed saves, updates, deletes and reads on QMX.db and SALE.db, while one more
# process runs "qmxdb backup" and "qmxdb check" in a loop. Everything runs in a shop folder of its
# own under the temporary folder, removed at the end (kept when something failed). Every process
# is bounded by timeout, so the soak never hangs. Ends with a summary (calls, errors, minutes,
# whether every acknowledged batch was found, the final integrity check) and exits non-zero on
# any error. Run it on a built tree: BUILD names the build folder (default build).
#
#   bash scripts/soak.sh [SECONDS]
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
seconds=${1:-60}
build=${BUILD:-build}
workers=8
grace=$((seconds / 2 + 300)) # beyond the duration: the final checks, a busy file's wait

shop=$(mktemp -d "${TMPDIR:-/tmp}/qmxdao-soak.XXXXXX")
cp "$build/tools/qmxdb/qmxdb" "$build/reliability/qmxdao_soak" "$shop/" || exit 1
q="$shop/qmxdb"
"$q" init >/dev/null || exit 1
start=$(date +%s)
echo "soak: $workers workers and a backup/check loop for $seconds s in $shop"

pids=()
for ((w = 1; w <= workers; w++)); do
  timeout -k 10 $((seconds + grace)) "$shop/qmxdao_soak" "$w" "$seconds" \
    >"$shop/worker-$w.out" 2>"$shop/worker-$w.err" &
  pids+=($!)
done

# The maintenance loop: one backup and one check at a time, until the workers' time is up.
(
  runs=0 failed=0
  while (($(date +%s) < start + seconds)); do
    for command in "backup $shop/backup --force" "check"; do
      runs=$((runs + 1))
      # shellcheck disable=SC2086 # the command's words
      if ! timeout -k 10 300 "$q" $command >"$shop/last-maintenance.out" 2>&1; then
        failed=$((failed + 1))
        { echo "qmxdb $command failed at $(($(date +%s) - start)) s:"; cat "$shop/last-maintenance.out"; } \
          >>"$shop/maintenance.err"
      fi
    done
    sleep 1
  done
  echo "calls $runs errors $failed" >"$shop/maintenance.out"
) &
pids+=($!)

status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

calls=0 errors=0 runs=0
for out in "$shop"/worker-*.out "$shop/maintenance.out"; do
  read -r _ c _ e _ <"$out" 2>/dev/null || { errors=$((errors + 1)); continue; } # ended early
  if [[ $out == */maintenance.out ]]; then runs=$c; else calls=$((calls + c)); fi
  errors=$((errors + e))
done
cat "$shop"/worker-*.err "$shop/maintenance.err" 2>/dev/null | head -40

check=failed
timeout -k 10 600 "$q" check >"$shop/final-check.out" 2>&1 && check=ok
minutes=$(awk -v s=$(($(date +%s) - start)) 'BEGIN { printf "%.1f", s / 60 }')
found=yes
((status != 0 || errors != 0)) && found="no (see above)"
echo "soak: $workers workers + 1 backup/check loop, $minutes minutes, $calls library calls and" \
  "$runs backup/check runs, $errors errors; every acknowledged batch found: $found; integrity: $check"
if ((status != 0 || errors != 0)) || [ "$check" != ok ]; then
  cat "$shop/final-check.out"
  echo "soak: FAILED; the shop is kept in $shop"
  exit 1
fi
rm -rf "$shop"
