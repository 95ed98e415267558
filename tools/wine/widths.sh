#!/usr/bin/env bash
# Which widths of Windows program this machine can run under Wine.
#
#   widths.sh            prints "win32 win64" or "win64"
#   widths.sh --explain  prints one line saying which, and why
#
# 64-bit Wine runs on every x86-64 kernel. 32-bit Wine needs a kernel that runs
# 32-bit x86 programs: some are built without that, and then every i386 program
# fails with "Exec format error", Wine's own loader included (its WoW64 mode
# needs the 32-bit code segment, which such kernels remove too). The cheapest
# i386 program to try is the i386 dynamic loader (package libc6-i386).
set -euo pipefail

loader32=/lib/ld-linux.so.2
wine32=/usr/lib/wine/wine

reason=""
if [ ! -x "$loader32" ]; then
  reason="$loader32 is missing, so whether this kernel runs 32-bit programs is unknown (run tools/setup.sh)"
elif ! "$loader32" --version >/dev/null 2>&1; then
  reason="this kernel cannot run 32-bit programs ($loader32: $("$loader32" --version 2>&1 | head -n1 | sed 's/.*: //'))"
elif [ ! -x "$wine32" ]; then
  reason="32-bit Wine is not installed (package wine32:i386; tools/setup.sh says why it could not install it)"
fi

if [ "${1:-}" = --explain ]; then
  if [ -z "$reason" ]; then
    echo "Windows tests: this machine runs 32-bit and 64-bit programs: both the 32-bit tree (build/win32, what ships) and the 64-bit tree (build/win64) run"
  else
    echo "Windows tests: $reason, so the 32-bit tests were not run; they ran on the 64-bit tree (build/win64). The 32-bit release executable is still built and checked statically."
  fi
elif [ -z "$reason" ]; then
  echo "win32 win64"
else
  echo "win64"
fi
