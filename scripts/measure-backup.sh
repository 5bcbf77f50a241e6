#!/bin/bash
# Measures "qmxdb backup" of a shop whose main file holds ITEMS items (default 1,000,000) against a
# plain cp of the same two files, and the saves of another process that writes batches of 100
# items in a loop (one "qmxdb import" per batch) before and during the backup. Run it on a built
# tree: BUILD names the build folder (default build). Prints the figures; keeps nothing.
#
#   bash scripts/measure-backup.sh [ITEMS]
set -euo pipefail
items=${1:-1000000}
build=${BUILD:-build}
work=$(mktemp -d)
writer=
cleanup() {
  [ -n "$writer" ] && kill "$writer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp "$build/tools/qmxdb/qmxdb" "$work/"
q="$work/qmxdb"
now() { date +%s.%N; }
"$q" init >/dev/null
"$q" sql "with recursive n(i) as (select 1 union all select i + 1 from n where i < $items)
  insert into ITEM (ID, UPC, ORG, ITEM_NAME, STANDART, UNIT_ID, TYPEID, PUR_PRICE, SALE_PRICE,
    MEM_PRICE, MERCHANT_ID, SUBMIT, CREATE_TIME, UPDATE_TIME)
  select i, printf('69%011d', i), 'shop', 'item ' || i, (100 + i % 900) || ' g', 'bag', i % 40,
    1 + (i % 500) * 0.25, 2 + (i % 500) * 0.5, 1.75 + (i % 500) * 0.5, 'merchant-' || (i % 50), 0,
    '2024-01-01 08:00:00', '2024-01-01 08:00:00' from n" >/dev/null
ls -l "$work/db"

# The writer: each round saves 100 items (new prices for the same keys, so every row is written)
# in one batch, and logs the time it finished.
(
  round=0
  while [ ! -e "$work/stop" ]; do
    round=$((round + 1))
    awk -v r="$round" 'BEGIN { print "UPC,ORG,ITEM_NAME,SALE_PRICE";
      for (i = 1; i <= 100; i++) printf "68%011d,shop,writer item %d,%d.25\n", i, i, r }' \
      >"$work/batch.csv"
    "$q" import ITEM "$work/batch.csv" --batch 100 >/dev/null
    now >>"$work/saves.log"
  done
) &
writer=$!

saves_between() { awk -v a="$1" -v b="$2" '$1 >= a && $1 < b' "$work/saves.log" | wc -l; }

sleep 6
t0=$(now)
cp "$work/db/QMX.db" "$work/db/SALE.db" "$work/" # warms the page cache as the backup would
rm -f "$work/QMX.db" "$work/SALE.db"
t1=$(now)
cp "$work/db/QMX.db" "$work/db/SALE.db" "$work/"
t2=$(now)
sync "$work/QMX.db" "$work/SALE.db"
t2s=$(now)
"$q" backup "$work/copy" 2>/dev/null
t3=$(now)
sleep 3
touch "$work/stop"
wait "$writer"
writer=

"$q" check >/dev/null && echo "after the backup: check passes"
cp_s=$(echo "$t2 - $t1" | bc -l)
cp_sync_s=$(echo "$t2s - $t1" | bc -l)
backup_s=$(echo "$t3 - $t2s" | bc -l)
before=$(saves_between "$(echo "$t0 - 5" | bc -l)" "$t0")
during=$(saves_between "$t2s" "$t3")
after=$(saves_between "$t3" "$(echo "$t3 + 3" | bc -l)")
printf 'cp of both files: %.2f s (%.2f s with sync)\nqmxdb backup: %.2f s (%.1f times cp)\n' \
  "$cp_s" "$cp_sync_s" "$backup_s" "$(echo "$backup_s / $cp_s" | bc -l)"
printf 'writer, batches of 100 saved per second: before %.1f, during the backup %.1f, after %.1f\n' \
  "$(echo "$before / 5" | bc -l)" "$(echo "$during / $backup_s" | bc -l)" \
  "$(echo "$after / 3" | bc -l)"
