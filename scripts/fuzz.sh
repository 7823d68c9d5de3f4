#!/usr/bin/env bash
# Runs each libFuzzer harness of tests/fuzz/ (built by the native-asan preset) for a bounded time,
# FUZZ_SECONDS each (30 by default), over the seed corpus and the saved regression inputs. A
# crash or a broken rule is saved under tests/fuzz/regressions/<harness>/ (commit it: every later
# run replays it) and fails the run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build/native-asan
seconds=${FUZZ_SECONDS:-30}
export TMPDIR="$PWD/$build/fuzz-tmp"
status=0
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  corpus=$build/fuzz-corpus/$name
  regressions=tests/fuzz/regressions/$name
  mkdir -p "$corpus" "$regressions" "$TMPDIR"
  log=$build/$name.log
  if "$build/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$regressions/" \
      "$corpus" "tests/fuzz/corpus/$name" "$regressions" >"$log" 2>&1; then
    echo "$name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions in $seconds s, nothing found"
  else
    echo "$name: FAILED, the input is saved in $regressions/ (log: $log)"
    tail -n 25 "$log"
    status=1
  fi
done
rm -rf "$TMPDIR"
exit $status
