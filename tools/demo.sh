#!/usr/bin/env bash
# `make demo`: runs the installer's main job under Wine (on $DISPLAY when it is
# usable, otherwise in an Xvfb of ours) against the stand-in services, with the
# test build of the width KESTRIX_WINE_ARCH names (default: the 32-bit one
# where this machine runs it, else the 64-bit one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_env=$root/tools/wine/wine-env.sh
export KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH:-$("$root/tools/wine/widths.sh" | cut -d' ' -f1)}
tree=$root/build/$KESTRIX_WINE_ARCH
eval "$("$wine_env" start)"
export KESTRIX_WINE_ENV=$wine_env
export KESTRIX_UIDRIVER_EXE=$tree/tools/uidriver/kestrix-uidriver.exe
export KESTRIX_INSTALLER_EXE=$tree/app/KestrixOfficeInstaller.exe
export KESTRIX_STANDIN_SETUP_EXE=$tree/tools/standin-setup/kestrix-standin-setup.exe
trap '"$wine_env" stop' EXIT
"$root/build/native/tools/demo/kestrix-demo" "$root/build/demo"
