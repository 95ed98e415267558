#!/usr/bin/env bash
# `make gallery`: every view of the installer in every language under Wine, as
# pictures in build/gallery/ with an index.html grid. Optional arguments name
# languages (en-US ko-KR ...) to limit the run to them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_env=$root/tools/wine/wine-env.sh
# The installer of the test build talks to fixed loopback ports, which the
# end-to-end tests' stand-in also takes: do not run beside them.
if ss -ltnH 2>/dev/null | grep -Eq ':(18080|18081|18443|18444|18099)\b'; then
  echo "gallery: the stand-in ports (18080, 18081, 18443, 18444, 18099) are in use;" \
    "run it when no end-to-end test is running" >&2
  exit 1
fi
# The test build of the width KESTRIX_WINE_ARCH names (default: the 32-bit one
# where this machine runs it, else the 64-bit one).
export KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH:-$("$root/tools/wine/widths.sh" | cut -d' ' -f1)}
tree=$root/build/$KESTRIX_WINE_ARCH
eval "$("$wine_env" start)"
export KESTRIX_WINE_ENV=$wine_env
export KESTRIX_UIDRIVER_EXE=$tree/tools/uidriver/kestrix-uidriver.exe
export KESTRIX_INSTALLER_EXE=$tree/app/KestrixOfficeInstaller.exe
trap '"$wine_env" stop' EXIT
rm -rf "$root/build/gallery"
"$root/build/native/tools/gallery/kestrix-gallery" "$root/build/gallery" "$@"
