#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on its seed corpus.
# Usage: fuzz.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not installed, skipping the fuzz run"
  exit 0
fi

# Line tables are all a crash report needs, and full debug information costs build time.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DVELDRA_FUZZ=ON -DVELDRA_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets

testdata="$root/../shared/testdata"
# One target per core at a time: each fuzzes on one core, so the run takes the time of the
# targets divided by the cores.
fuzz_one() {
  local target=$1 name work corpora status=0
  name=$(basename "$target"); name=${name#fuzz_}
  work=$(mktemp -d)
  corpora=("$work")
  [ -d "$root/fuzz/corpus/$name" ] && corpora+=("$root/fuzz/corpus/$name")
  [ -d "$testdata/$name" ] && corpora+=("$testdata/$name")
  # -rss_limit_mb keeps a reader that over-allocates from passing unnoticed.
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
            -print_final_stats=1 "${corpora[@]}" 2>"$work.log" || status=$?
  if [ "$status" -ne 0 ]; then
    tail -50 "$work.log"; echo "fuzz: $name FAILED"
  else
    echo "fuzz: $name for ${seconds}s: $(grep -E 'stat::number_of_executed_units' "$work.log" | tail -1)"
  fi
  rm -rf "$work" "$work.log"
  return "$status"
}

jobs_at_once=$(nproc)
failed=0
running=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  if [ "$running" -ge "$jobs_at_once" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
