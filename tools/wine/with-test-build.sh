#!/usr/bin/env bash
# Runs a native program that drives the test build under Wine (the demo, the
# gallery, the whole-program benchmark): starts the Wine environment of the
# width KESTRIX_WINE_ARCH names (default: the 32-bit one where this machine
# runs it, else the 64-bit one), tells the program where that tree's Windows
# programs are, and stops the environment when the program ends.
#   with-test-build.sh <program> [args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_env=$root/tools/wine/wine-env.sh
export KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH:-$("$root/tools/wine/widths.sh" --first)}
[ -n "$KESTRIX_WINE_ARCH" ] || exit 1
tree=$root/build/$KESTRIX_WINE_ARCH
eval "$("$wine_env" start)"
trap '"$wine_env" stop' EXIT
export KESTRIX_WINE_ENV=$wine_env
export KESTRIX_UIDRIVER_EXE=$tree/tools/uidriver/kestrix-uidriver.exe
export KESTRIX_INSTALLER_EXE=$tree/app/KestrixOfficeInstaller.exe
export KESTRIX_STANDIN_SETUP_EXE=$tree/tools/standin-setup/kestrix-standin-setup.exe
export KESTRIX_BARE_HANDOFF_EXE=$tree/bench/kestrix-bare-handoff.exe
export KESTRIX_MINIMAL_DIALOG_EXE=$tree/bench/kestrix-minimal-dialog.exe
"$@"
