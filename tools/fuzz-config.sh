#!/usr/bin/env bash
# Builds the vantorra.ini format fuzzer natively with clang (outside the Windows build)
# and runs it for a bounded time: fuzz-config.sh [seconds, default 60].
# A finding leaves its input in build/fuzz/ and makes this script fail.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
mkdir -p "$out/corpus"

clang++ -std=c++20 -O1 -g -Wall -Wextra -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I"$root" \
    "$root/settings/ConfigFormat.cpp" "$root/tests/release/ConfigCorpus.cpp" \
    "$root/tests/fuzz/ConfigFormatFuzz.cpp" \
    -o "$out/config-format-fuzz"

log=$out/config-format-fuzz.log
status=0
"$out/config-format-fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" "$root/tests/fuzz/config-seeds" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "config format fuzzer: FAILED after ${runs:-?} executions (log: $log)" >&2
    exit "$status"
fi
echo "config format fuzzer: ${runs:-?} executions in ${seconds} s, nothing found"
