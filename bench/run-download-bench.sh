#!/usr/bin/env bash
# Measures the product's setup download against a bare WinINet loop under
# Wine, for generated packages served by the stand-in package host:
#   run-download-bench.sh [<kestrix-standin> [<kestrix-download-bench.exe>]]
# Settings: KESTRIX_BENCH_SIZES (MiB, default "64 512"), KESTRIX_BENCH_ROUNDS
# (counted rounds of each download per size; default 10 up to 128 MiB, else 5:
# more of the short runs, whose times the load of others moves most),
# KESTRIX_BENCH_STATE (default <repo>/build/bench), KESTRIX_BENCH_PIN (1, the
# default on two or more cores: Wine on the last core, the stand-in on the
# first; 0: wherever the scheduler puts them). Each size's full output stays in
# <state>/bench-<N>MiB.txt. Prints figures only; nothing here passes or fails
# on a timing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
# The build of the width KESTRIX_WINE_ARCH names (default: the 32-bit one where
# this machine runs it, else the 64-bit one).
export KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH:-$("$repo/tools/wine/widths.sh" --first)}
[ -n "$KESTRIX_WINE_ARCH" ] || exit 1
width=$([ "$KESTRIX_WINE_ARCH" = win64 ] && echo 64-bit || echo 32-bit)
standin=${1:-$repo/build/native/tools/standin/kestrix-standin}
bench=${2:-$repo/build/$KESTRIX_WINE_ARCH/bench/kestrix-download-bench.exe}
state=${KESTRIX_BENCH_STATE:-$repo/build/bench}
sizes=${KESTRIX_BENCH_SIZES:-64 512}
rounds=${KESTRIX_BENCH_ROUNDS:-}
wine_env=$repo/tools/wine/wine-env.sh

die() {
  echo "run-download-bench: $*" >&2
  exit 1
}

for program in "$standin" "$bench"; do
  [ -f "$program" ] || die "$program is missing (make native)"
done
[ -z "$rounds" ] || [[ $rounds =~ ^[1-9][0-9]?$ ]] || die "KESTRIX_BENCH_ROUNDS must be 1 to 99"
for mib in $sizes; do
  [[ $mib =~ ^[1-9][0-9]{0,4}$ ]] || die "KESTRIX_BENCH_SIZES must be sizes in MiB, got \"$mib\""
done

# Every 4096-byte read under Wine is a round trip between the program and
# wineserver. Left to the scheduler, the two land on one core or on two from
# one run to the next, and a 64 MiB download takes 0.7 s or 2.2 s on this
# kind of machine for that alone; pinned, runs differ by what they do.
cores=$(nproc)
pin=${KESTRIX_BENCH_PIN:-$([ "$cores" -ge 2 ] && echo 1 || echo 0)}
[[ $pin =~ ^[01]$ ]] || die "KESTRIX_BENCH_PIN must be 0 or 1"
[ "$pin" = 0 ] || [ "$cores" -ge 2 ] || die "KESTRIX_BENCH_PIN=1 needs two cores"
if [ "$pin" = 1 ]; then
  on_wine_core=(taskset -c $((cores - 1)))
  on_standin_core=(taskset -c 0)
  placement="Wine (program and wineserver) on core $((cores - 1)), the stand-in on core 0"
else
  on_wine_core=()
  on_standin_core=()
  placement="Wine and the stand-in wherever the scheduler puts them"
fi

# A Wine prefix of our own: stopping it at the end must not end the Wine
# programs of other developers' test runs.
export KESTRIX_WINE_STATE=$state/wine/$KESTRIX_WINE_ARCH
export KESTRIX_WINE_TIMEOUT=${KESTRIX_WINE_TIMEOUT:-3600}
mkdir -p "$state/standin"
rm -f "$state/standin/ports.json"

# Free ports throughout: the fixed test ports may be held by someone's tests.
"${on_standin_core[@]}" "$standin" --state-dir "$state/standin" --update-port 0 --package-port 0 --logconf-port 0 \
  --collector-port 0 --control-port 0 >"$state/standin.log" 2>&1 &
standin_pid=$!
cleanup() {
  kill "$standin_pid" 2>/dev/null || true
  wait "$standin_pid" 2>/dev/null || true
  "$wine_env" stop || true
}
trap cleanup EXIT
for _ in $(seq 200); do
  grep -q '^ready' "$state/standin.log" 2>/dev/null && break
  kill -0 "$standin_pid" 2>/dev/null || { cat "$state/standin.log"; die "the stand-in did not start"; }
  sleep 0.1
done
grep -q '^ready' "$state/standin.log" || die "the stand-in did not get ready"

# Registers a generated package; prints its URL, size and SHA-256.
register() {
  python3 - "$state/standin/ports.json" "$1" <<'PY'
import json, sys, urllib.request
control = json.load(open(sys.argv[1]))["control"]
mib = int(sys.argv[2])
body = json.dumps({"name": "bench-%dMiB.bin" % mib, "size": mib << 20, "seed": mib}).encode()
request = urllib.request.Request("http://127.0.0.1:%d/package" % control, data=body,
                                 headers={"Content-Type": "application/json"})
package = json.load(urllib.request.urlopen(request, timeout=120))
print(package["url"], package["size"], package["sha256"])
PY
}

# Our prefix's wineserver may linger from an earlier run with another placement.
"$wine_env" stop
"${on_wine_core[@]}" "$wine_env" start >/dev/null
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
outputs=()
for mib in $sizes; do
  package=$(register "$mib") || die "the stand-in did not register the ${mib} MiB package"
  read -r url size sha256 <<<"$package"
  output=$state/bench-${mib}MiB.txt
  size_rounds=${rounds:-$([ "$mib" -le 128 ] && echo 10 || echo 5)}
  echo "== ${mib} MiB package, $size_rounds rounds of each download (output: $output)"
  # A file, not a pipe: Wine's background processes would hold a pipe open.
  if ! "${on_wine_core[@]}" "$wine_env" run "$bench" "$url" "$size" "$sha256" "$size_rounds" >"$output" 2>&1; then
    cat "$output"
    die "the ${mib} MiB benchmark failed"
  fi
  grep -v '^RUN \|^END ' "$output"
  outputs+=("$output")
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "Setup download under Wine, 4096-byte reads: the product (job manager, progress"
echo "callback) against a bare WinINet loop in the same process, one run of each per"
echo "round, the order alternating from round to round."
echo "ratio: of the medians; fastest: of the fastest runs (other processes only add"
echo "time); within rounds: of the two runs of each round."
echo "The $width build under $width Wine ($bench)."
echo "Load average before: $load_before; after: $load_after ($cores cores); $placement."
python3 "$here/download-report.py" "${outputs[@]}"
