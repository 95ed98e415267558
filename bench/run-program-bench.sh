#!/usr/bin/env bash
# The whole program under Wine against the least programs that do the same
# (bench/ProgramBenchMain.cpp says what is measured), then the table of ratios
# (bench/program-report.py), printed and kept in docs/performance.md.
#   run-program-bench.sh
# Settings: KESTRIX_BENCH_PAIRS (launch-to-hand-off pairs, default 5),
# KESTRIX_BENCH_STATE (default <repo>/build/bench). It uses the stand-in's test
# ports, which the test build is made for: not beside `make test`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
export KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH:-$("$repo/tools/wine/widths.sh" --first)}
[ -n "$KESTRIX_WINE_ARCH" ] || exit 1
state=${KESTRIX_BENCH_STATE:-$repo/build/bench}
pairs=${KESTRIX_BENCH_PAIRS:-5}
wine_env=$repo/tools/wine/wine-env.sh
cores=$(nproc)
[ "$cores" -ge 2 ] || { echo "run-program-bench: needs two cores (Wine on one, the services on the other)" >&2; exit 1; }
wine_core=$((cores - 1))

# A prefix of our own, as for the download benchmark; Wine and everything the
# measurer starts run on the last core, the stand-in on the first. A
# wineserver left from a run with another placement goes first.
export KESTRIX_WINE_STATE=$state/wine/$KESTRIX_WINE_ARCH
"$wine_env" stop

output=$state/program
results=$state/program-$KESTRIX_WINE_ARCH.jsonl
mkdir -p "$output"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
taskset -c "$wine_core" "$repo/tools/wine/with-test-build.sh" \
  "$repo/build/native/bench/kestrix-program-bench" "$output" "$pairs" >"$results"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
python3 "$here/program-report.py" "$results" \
  --width "$KESTRIX_WINE_ARCH" --load "$load_before / $load_after ($cores cores)" \
  --commit "$(git -C "$repo" rev-parse --short HEAD)" --keep "$repo/docs/performance.md"
