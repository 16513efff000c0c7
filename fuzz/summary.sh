#!/bin/sh
# One line for a finished fuzz run: the target, the inputs it tried, inputs a second of
# wall time and of the run's own processor time (from /usr/bin/time's "user system"
# seconds), and the coverage (libFuzzer's "cov:" figure, from its last status line).
target=$1 log=$2 cpu=$3
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
cov=$(grep -aoE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
if [ -z "$runs" ]; then
  echo "fuzz_$target: stopped early, see $log"
  exit 0
fi
seconds=$(tail -n 1 "$cpu" 2>/dev/null | awk '{ print $1 + $2 }')
perCpu=$(awk -v r="$runs" -v s="${seconds:-0}" 'BEGIN { if (s > 0) printf "%d", r / s; else print "?" }')
echo "fuzz_$target: $runs inputs tried, $rate inputs/s, $perCpu inputs per processor second, cov $cov"
