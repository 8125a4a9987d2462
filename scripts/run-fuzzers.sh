#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan/UBSan) and runs each for
# the given number of seconds, starting from its seed inputs when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for target in build-fuzz/fuzz/*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds=tests/fuzz-seeds/$name
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "--- $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>"$corpus.log"; then
    tail -n 60 "$corpus.log"
    status=1
  else
    grep -E "^(stat::number_of_executed_units|Done)" "$corpus.log" || true
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
