#!/usr/bin/env bash
# Builds the benchmarks in the native tree (build/, as scripts/setup.sh configures it, or
# OSTREL_BUILD_DIR) and runs them; then compares one toolbar composition with a plain copy
# of the whole canvas. Extra arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${OSTREL_BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
  cmake "$build" >/dev/null  # the benchmark target exists only once a *_bench.cpp was seen
fi
if ! cmake --build "$build" -j2 --target ostrel_bench; then
  echo "bench.sh: ostrel_bench could not be built (is libbenchmark-dev installed? see scripts/setup.sh)" >&2
  exit 1
fi

results=$(mktemp)
trap 'rm -f "$results"' EXIT
"$build/bench/ostrel_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=csv "$@"

# Medians of the CPU time (steadier than wall time on a shared machine), in the unit each row names.
awk -F, '
  function ns(t, unit) { return unit == "us" ? t * 1e3 : unit == "ms" ? t * 1e6 : unit == "s" ? t * 1e9 : t }
  { gsub(/"/, "", $1) }
  $1 == "BM_Composition_median" { compose = ns($4, $5) }
  $1 == "BM_FullCanvasCopy_median" { copy = ns($4, $5) }
  END {
    if (compose == "" || copy == "" || copy == 0) { print "bench.sh: both benchmarks must run to compare them" > "/dev/stderr"; exit 1 }
    printf "composition %.0f ns, full canvas copy %.0f ns (CPU time, medians of 5)\n", compose, copy
    printf "composition / full copy = %.1fx\n", compose / copy
  }' "$results"
