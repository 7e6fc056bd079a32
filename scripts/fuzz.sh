#!/usr/bin/env bash
# Fuzzes the whole run (the in-memory host, the fuzzer's bytes as the configuration
# file) for a fixed time and prints executions, corpus size and coverage.
# Usage: scripts/fuzz.sh [seconds, default 300]
# New inputs go to build/fuzz/corpus; crashes to build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null

mkdir -p build/fuzz/corpus build/fuzz/artifacts
log=build/fuzz/last-run.log
set +e
build/fuzz/tests/fuzz/run_fuzzer -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/artifacts/ build/fuzz/corpus tests/fuzz/corpus >"$log" 2>&1
status=$?
set -e

final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1)
execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
rate=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
rss=$(grep -E '^stat::peak_rss_mb' "$log" | awk '{print $2}')
cov=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$final")
ft=$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$final")
corp=$(sed -nE 's/.*corp: ([0-9]+\/[0-9]+[a-zA-Z]*).*/\1/p' <<<"$final")
echo "fuzzing for ${seconds}s: ${execs:-?} executions (${rate:-?}/s), corpus ${corp:-?} inputs/bytes," \
     "coverage ${cov:-?} edges, ${ft:-?} features, peak RSS ${rss:-?} MB"
if [ $status -ne 0 ]; then
    echo "the fuzzer stopped with status $status; see $log and build/fuzz/artifacts/"
    grep -m1 -A8 'property violated\|ERROR:' "$log" || true
    exit 1
fi
