#!/bin/sh
# One line for a finished fuzz run: the target, the inputs it tried, inputs a second and
# the coverage (libFuzzer's "cov:" figure, from its last status line), from its log.
target=$1 log=$2
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
if [ -z "$runs" ]; then
  echo "fuzz_$target: stopped early, see $log"
else
  echo "fuzz_$target: $runs inputs tried, $rate inputs/s, cov $cov"
fi
