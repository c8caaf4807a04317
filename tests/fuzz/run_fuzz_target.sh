#!/usr/bin/env bash
# Runs one libFuzzer target for a time budget and prints one summary line.
#   run_fuzz_target.sh BINARY SECONDS SEED_DIR WORK_DIR
# QS_FUZZ_SECONDS in the environment overrides SECONDS. New inputs go to
# WORK_DIR/corpus, a crashing input to WORK_DIR/crash-*; the full log is
# WORK_DIR/log and is printed when the target fails; the summary line is
# also kept in WORK_DIR/summary.
set -uo pipefail
binary=$1 seconds=${QS_FUZZ_SECONDS:-$2} seeds=$3 work=$4
name=$(basename "$binary")
mkdir -p "$work/corpus"
"$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" "$seeds" >"$work/log" 2>&1
rc=$?
runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$work/log" | grep -oE '[0-9]+$' || true)
secs=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$work/log" | grep -oE '[0-9]+$' || true)
units=$(find "$work/corpus" -type f | wc -l)
if [ "$rc" -eq 0 ]; then
  summary="fuzz $name: ${runs:-?} runs in ${seconds}s (${secs:-?}/s), working corpus $units inputs, no crash"
else
  tail -n 60 "$work/log"
  summary="fuzz $name: FAILED (exit $rc) after ${runs:-?} runs; input kept in $work/"
fi
echo "$summary" | tee "$work/summary"
exit "$rc"
