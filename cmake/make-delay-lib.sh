#!/usr/bin/env bash
# Makes a delay-import library for one system DLL from mingw-w64's import
# library of it, so that the DLL is loaded on first use (from the system
# folder, by the program's hook) instead of by name at process start:
#   make-delay-lib.sh <target triplet> <dll base name> <output .a>
set -euo pipefail
triplet=$1
name=$2
out=$3
import_lib=/usr/$triplet/lib/lib$name.a
[ -f "$import_lib" ] || { echo "make-delay-lib: no $import_lib" >&2; exit 1; }
def=$out.def
mkdir -p "$(dirname "$out")"
# The exports are the import library's __imp_ symbols. 32-bit names carry the
# C underscore and stdcall's @<bytes>; --kill-at imports them without the @.
{
  echo "LIBRARY $name.dll"
  echo "EXPORTS"
  "$triplet-nm" "$import_lib" | awk -v strip="$([ "${triplet%%-*}" = i686 ] && echo 1 || echo 0)" '
    $2 == "I" && $3 ~ /^__imp_/ {
      n = substr($3, 7)
      if (strip) n = substr(n, 2)
      if (n ~ /^[A-Za-z_][A-Za-z0-9_@]*$/ && !seen[n]++) print "  " n
    }'
} >"$def"
kill_at=()
[ "${triplet%%-*}" = i686 ] && kill_at=(--kill-at)
"$triplet-dlltool" --input-def "$def" --dllname "$name.dll" "${kill_at[@]}" --output-delaylib "$out"
