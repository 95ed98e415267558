#!/usr/bin/env bash
# Runs a command as it would run on a kernel that runs no 32-bit x86 code: in a
# mount namespace of its own, the i386 loader and 32-bit Wine's loader answer
# every call as such a kernel makes them answer (exit 126, "cannot execute
# binary file: Exec format error"). For trying make test, make demo and the
# rest on the other kind of machine than this one. Needs root.
#
#   without-32-bit-kernel.sh <command> [args...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: without-32-bit-kernel.sh <command> [args...]" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "without-32-bit-kernel: needs root (unshare --mount)" >&2; exit 1; }
stub=$(mktemp "${TMPDIR:-/tmp}/kestrix-refused-i386.XXXXXX")
trap 'rm -f "$stub"' EXIT
printf '#!/bin/sh\necho "$0: cannot execute binary file: Exec format error" >&2\nexit 126\n' >"$stub"
chmod 755 "$stub"
# shellcheck disable=SC2016
unshare --mount -- sh -c '
  stub=$1; shift
  for program in /lib/ld-linux.so.2 /usr/lib/wine/wine; do
    [ -e "$program" ] && mount --bind "$stub" "$program"
  done
  exec "$@"' sh "$stub" "$@"
