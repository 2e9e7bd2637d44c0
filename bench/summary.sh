#!/usr/bin/env bash
# Runs each bench that has aims three times and prints one table: the median
# of each figure against its aim, so a reader sees at a glance what holds.
#
#   summary.sh <build folder> [runs]
set -euo pipefail

build=$1
runs=${2:-3}
lines=$(mktemp)
trap 'rm -f "$lines"' EXIT
benches=(
  "$build/bench/bench_text_load"
  "$build/bench/bench_batch $build/bin/varnik-batch"
  "$build/bench/bench_study $build/bin/varnik-batch"
  "$build/bench/bench_report $build/bin/varnik-batch"
  "$build/bench/bench_graph"
)
for bench in "${benches[@]}"; do
  for ((k = 1; k <= runs; ++k)); do
    echo "== $bench (run $k of $runs)" >&2
    $bench 2>/dev/null | grep '^aim |' >>"$lines" || echo "aim | ${bench%% *} failed | nan | nan | -" >>"$lines"
  done
done
python3 - "$lines" "$runs" <<'PY'
import statistics, sys
figures = {}
for line in open(sys.argv[1]):
    _, figure, value, aim, unit = [p.strip() for p in line.split('|')]
    figures.setdefault((figure, aim, unit), []).append(float(value))
print(f"{'figure':45} {'median':>9} {'range':>17} {'aim':>8}  holds")
for (figure, aim, unit), values in figures.items():
    good = [v for v in values if v == v]
    if not good:
        print(f"{figure:45} {'failed':>9}")
        continue
    m = statistics.median(good)
    spread = f"{min(good):.2f}-{max(good):.2f}"
    print(f"{figure:45} {m:9.2f} {spread:>17} {float(aim):>6.2f} {unit:2}  {'yes' if m <= float(aim) else 'NO'}"
          f"  ({len(good)} runs)")
PY
