#!/usr/bin/env bash
# `make demo`: runs the installer's main job under Wine (on $DISPLAY when it is
# usable, otherwise in an Xvfb of ours) against the stand-in services.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_env=$root/tools/wine/wine-env.sh
eval "$("$wine_env" start)"
export KESTRIX_WINE_ENV=$wine_env
export KESTRIX_UIDRIVER_EXE=$root/build/win32/tools/uidriver/kestrix-uidriver.exe
export KESTRIX_INSTALLER_EXE=$root/build/win32/app/KestrixOfficeInstaller.exe
export KESTRIX_STANDIN_SETUP_EXE=$root/build/win32/tools/standin-setup/kestrix-standin-setup.exe
trap '"$wine_env" stop' EXIT
"$root/build/native/tools/demo/kestrix-demo" "$root/build/demo"
