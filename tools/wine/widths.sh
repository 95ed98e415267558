#!/usr/bin/env bash
# Which widths of Windows program this machine can run under Wine.
#
#   widths.sh            prints "win32 win64", "win64", or nothing when no Wine runs here
#   widths.sh --explain  prints one line saying which, and why
#   widths.sh --reason   prints why a width is left out (nothing when none is)
#   widths.sh --first    prints the width the demo, the gallery and the benchmarks
#                        run: the 32-bit one that ships where it runs, else the
#                        64-bit one; when none runs, nothing, and why on stderr
#
# It always answers and always exits 0; what it tried goes into the answer.
#
# 64-bit Wine runs on every x86-64 kernel. 32-bit Wine needs a kernel that runs
# 32-bit x86 programs: some are built without that, and then every i386 program
# fails with "Exec format error", Wine's own loader included (its WoW64 mode
# needs the 32-bit code segment, which such kernels remove too). The cheapest
# i386 program to try is the i386 dynamic loader (package libc6-i386).
#
# The programs it tries can be named elsewhere, so that every case can be shown
# on any machine: KESTRIX_I386_LOADER (default /lib/ld-linux.so.2),
# KESTRIX_WINE32_LOADER (/usr/lib/wine/wine), KESTRIX_WINE64_LOADER
# (/usr/lib/wine/wine64). tools/wine/wine-env.sh runs the Wine loaders named here.
set -uo pipefail

loader32=${KESTRIX_I386_LOADER:-/lib/ld-linux.so.2}
wine32=${KESTRIX_WINE32_LOADER:-/usr/lib/wine/wine}
wine64=${KESTRIX_WINE64_LOADER:-/usr/lib/wine/wine64}

# Whether a program answers when asked its version, and the last words of
# what it said (for a program the kernel refuses, the shell's "Exec format error").
runs() { "$1" --version >/dev/null 2>&1 </dev/null; }
said() { "$1" --version 2>&1 </dev/null | head -n1 | sed 's/.*: //'; }

widths=""
reason=""
if [ ! -x "$wine64" ]; then
  reason="64-bit Wine is not installed ($wine64 is missing; run tools/setup.sh)"
elif ! runs "$wine64"; then
  reason="64-bit Wine does not start ($wine64: $(said "$wine64"))"
elif [ ! -x "$loader32" ]; then
  widths="win64"
  reason="$loader32 is missing, so whether this kernel runs 32-bit programs is unknown (run tools/setup.sh)"
elif ! runs "$loader32"; then
  widths="win64"
  reason="this kernel cannot run 32-bit programs ($loader32: $(said "$loader32"))"
elif [ ! -x "$wine32" ]; then
  widths="win64"
  reason="32-bit Wine is not installed (package wine32:i386; tools/setup.sh says why it could not install it)"
elif ! runs "$wine32"; then
  widths="win64"
  reason="32-bit Wine is installed but does not start ($wine32: $(said "$wine32"))"
else
  widths="win32 win64"
fi

if [ "${1:-}" = --first ]; then
  if [ -n "$widths" ]; then echo "${widths%% *}"; else echo "Windows programs: none can run here: $reason" >&2; fi
elif [ "${1:-}" = --reason ]; then
  [ -z "$reason" ] || echo "$reason"
elif [ "${1:-}" = --explain ]; then
  case "$widths" in
  "win32 win64")
    echo "Windows tests: this machine runs 32-bit and 64-bit programs: both the 32-bit tree (build/win32, what ships) and the 64-bit tree (build/win64) run" ;;
  win64)
    echo "Windows tests: $reason, so the 32-bit tests were not run; they ran on the 64-bit tree (build/win64). The 32-bit release executable is still built and checked statically." ;;
  *)
    echo "Windows tests: none can run: $reason" ;;
  esac
else
  [ -z "$widths" ] || echo "$widths"
fi
exit 0
