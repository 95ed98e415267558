#!/usr/bin/env bash
# `make gallery`: every view of the installer in every language under Wine, as
# pictures in build/gallery/ with an index.html grid. Optional arguments name
# languages (en-US ko-KR ...) to limit the run to them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# The installer of the test build talks to fixed loopback ports, which the
# end-to-end tests' stand-in also takes: do not run beside them.
ports=$(sed -n 's/^STANDIN_[A-Z]*_PORT := //p' "$root/tools/standin/test-ports.mk")
if ss -ltnH 2>/dev/null | grep -Eq ":($(paste -sd'|' <<<"$ports"))\b"; then
  echo "gallery: the stand-in ports ($(paste -sd, <<<"$ports")) are in use;" \
    "run it when no end-to-end test is running" >&2
  exit 1
fi
rm -rf "$root/build/gallery"
status=0
"$root/tools/wine/with-test-build.sh" "$root/build/native/tools/gallery/kestrix-gallery" \
  "$root/build/gallery" "$@" || status=$?
[ -f "$root/build/gallery/shots.json" ] && python3 "$root/tools/gallery/index-page.py" "$root/build/gallery"
exit $status
