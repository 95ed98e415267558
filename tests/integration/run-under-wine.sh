#!/usr/bin/env bash
# Runs the cross-built exchange tests under Wine against a stand-in of the
# vendor services on the ports the test build names:
#   run-under-wine.sh <kestrix-standin> <kestrix_integration_tests.exe> [gtest args]
set -euo pipefail
standin=$1
tests=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
wine_env=$here/../../tools/wine/wine-env.sh
state=${KESTRIX_WINE_STATE:-$here/../../build/wine/${KESTRIX_WINE_ARCH:?set KESTRIX_WINE_ARCH to win32 or win64}}
mkdir -p "$state/certs"

"$wine_env" start >/dev/null
"$standin" --state-dir "$state/certs" >"$state/certs/integration-standin.log" 2>&1 &
standin_pid=$!
trap 'kill $standin_pid 2>/dev/null; wait $standin_pid 2>/dev/null || true' EXIT
for _ in $(seq 200); do
  grep -q '^ready' "$state/certs/integration-standin.log" 2>/dev/null && break
  kill -0 $standin_pid 2>/dev/null || { cat "$state/certs/integration-standin.log"; exit 1; }
  sleep 0.1
done
"$wine_env" trust-ca "$state/certs/ca.der"
"$wine_env" run "$tests" "$@"
