#!/bin/sh
# Builds the fuzz preset and runs every fuzz target (or the ones named) for
# a number of seconds each, default 60, on a copy of its seed corpus; the
# committed corpus is never written. Fails on any crash, sanitizer report,
# broken invariant, timeout or memory blow-up; the input that caused it is
# kept under build-fuzz/findings/<target>/. Extra libFuzzer flags can be
# given in FUZZ_FLAGS.
#
#   tests/fuzz/run.sh [seconds] [target...]
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-fuzz_string2ulong fuzz_entries fuzz_device_decoding}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=$PWD/build-fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
for target in $targets; do
  corpus=$work/$target
  findings=$build/findings/$target
  log=$build/fuzz-logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  cp tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  echo "== $target: $seconds s"
  status=0
  # shellcheck disable=SC2086  # FUZZ_FLAGS holds several flags
  "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" ${FUZZ_FLAGS:-} "$corpus" >"$log" 2>&1 || status=$?
  done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 || true)
  if [ "$status" -ne 0 ] || [ -z "$done_line" ]; then
    echo "$target FAILED (exit status $status); log $log, inputs in $findings:"
    tail -n 40 "$log"
    failed=1
  else
    echo "$target: $(echo "$done_line" | sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\1 executions in \2 s/')"
  fi
done
exit "$failed"
