#!/usr/bin/env bash
# Runs every benchmark program of a build.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_* "$build"/src/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  # Drawing benchmarks need a display for the GL context.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$b" --benchmark_min_time=1
done
