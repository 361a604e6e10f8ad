#!/usr/bin/env bash
# Runs every benchmark and prints one table of their figures beside the goals. Each bench
# prints its rows as "TABLE|measurement|result|goal|verdict"; its whole report goes to
# <build>/bench-logs/<name>.txt. A new benchmark is one more line in BENCHES.
set -uo pipefail
BUILD="${1:-build}"
BENCHES=(
  "link_bench"
  "fault_bench"
  "window_bench --minutes ${ORV_BENCH_MINUTES:-2}"
  "monitor_bench --seconds 30"
  "firmware_bench --runs 1"
)

mkdir -p "$BUILD/bench-logs"
rows=()
for bench in "${BENCHES[@]}"; do
  name="${bench%% *}"
  echo "running $bench ..." >&2
  "./$BUILD/"$bench > "$BUILD/bench-logs/$name.txt" 2>&1
  status=$?
  [ $status -eq 0 ] || rows+=("TABLE|$name|failed (exit $status, see $BUILD/bench-logs/$name.txt)||MISS")
  while IFS= read -r row; do rows+=("$row"); done < <(grep '^TABLE|' "$BUILD/bench-logs/$name.txt")
done

echo
echo "| measurement | result | goal | |"
echo "|---|---|---|---|"
for row in "${rows[@]}"; do
  IFS='|' read -r _ what result goal verdict <<< "$row"
  echo "| $what | $result | $goal | $verdict |"
done
echo
echo "Machine: $(nproc) cores, $(uname -r); full reports in $BUILD/bench-logs/."
