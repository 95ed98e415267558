#!/usr/bin/env bash
# Checks what a shipped executable is made of:
#   check_executable.sh <release build tree> <test-build exe> <expected imports>
# The release build must be a PE32 GUI program for i386 that imports by name
# only DLLs the system always takes from itself, and of those only the
# functions reviewed for it (<expected imports>: "dll function" lines), runs
# on Windows XP, carries the hardening it is built with in every library it
# links, and none of the seams of the test build.
set -euo pipefail
tree=$1
test_build=$2
expected_imports=$3
release=$tree/app/KestrixOfficeInstaller.exe
fail() { echo "FAIL: $*" >&2; exit 1; }
headers=$(i686-w64-mingw32-objdump -p "$release")

kind=$(file -b "$release")
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || fail "not a PE32 GUI i386 program: $kind"

# By name, only the KnownDLLs, which Windows maps from the system folder
# whatever lies next to the program, and comctl32, which the manifest takes
# from the side-by-side store. Everything else is delay-loaded from the
# system folder by full path (cmake/DelayLoad.cmake).
allowed='^(advapi32|comctl32|gdi32|kernel32|msvcrt|ole32|shell32|user32)\.dll$'
dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  [[ $lower =~ $allowed ]] || fail "imports $dll by name, which a planted DLL of that name could replace"
done <<<"$dlls"

# Each function imported by name, as "dll function". A KnownDLL may forward
# an export to a DLL that is none (advapi32's SystemFunction036, RtlGenRandom,
# goes to cryptbase.dll from Windows 7 on), and the loader resolves such a
# forwarder before the program's first instruction, searching the program's
# folder: so every imported function is one that was looked at, and known
# forwarders of that kind are refused outright.
imports=$(awk '/DLL Name:/ {dll=tolower($3); next}
  /^$/ {dll=""}
  dll && NF>=3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print dll, $3}' <<<"$headers" | sort -u)
forwarded='^advapi32\.dll (SystemFunction03[0-9]|SystemFunction04[01])$'
refused=$(grep -E "$forwarded" <<<"$imports" || true)
[ -z "$refused" ] || fail "imports functions that Windows forwards to DLLs outside the KnownDLLs: $refused"
unexpected=$(comm -23 <(echo "$imports") <(grep -v '^#' "$expected_imports" | sort -u))
[ -z "$unexpected" ] ||
  fail "imports functions nobody has reviewed (where does Windows resolve them? then add them to $expected_imports): $(tr '\n' ',' <<<"$unexpected")"

# Windows XP must be able to load it: nothing it lacks is imported by name
# (later additions are looked up at run time).
vista_and_later='^(GetTickCount64|InitializeSRWLock|(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|InitOnce[A-Za-z]*|GetDynamicTimeZoneInformation|Fls(Alloc|Free|GetValue|SetValue)|GetLocaleInfoEx|LCIDToLocaleName|LocaleNameToLCID|GetUserDefaultLocaleName|CompareStringEx|GetFileInformationByHandleEx|SetFileInformationByHandle|CreateSymbolicLink[AW]|GetFinalPathNameByHandle[AW]|QueryFullProcessImageName[AW]|CancelIoEx|GetErrorMode|SetThreadErrorMode|Create(Event|Mutex|Semaphore)Ex[AW]|GetSystemTimePreciseAsFileTime|SHGetKnownFolderPath|inet_pton|inet_ntop|InetPton[AW]|InetNtop[AW]|RegGetValue[AW]|SetDefaultDllDirectories|AddDllDirectory)$'
late=$(awk '{print $2}' <<<"$imports" | grep -E "$vista_and_later" || true)
[ -z "$late" ] || fail "imports functions Windows XP does not have: $late"

# Hardening: a dynamic base with its relocations, DEP, and no structured
# exception handlers at all (NO_SEH), so that an overwritten handler record
# on the stack cannot be taken for one of ours; the image registers none
# (no store to %fs:0, where the chain of handler records starts).
characteristics=$(awk '/^DllCharacteristics/ {print $2}' <<<"$headers")
(( 0x$characteristics & 0x40 )) || fail "no dynamic base (ASLR): DllCharacteristics $characteristics"
(( 0x$characteristics & 0x100 )) || fail "not NX compatible (DEP): DllCharacteristics $characteristics"
(( 0x$characteristics & 0x400 )) || fail "not marked as registering no exception handlers (NO_SEH): DllCharacteristics $characteristics"
grep -Eq '^Entry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation' <<<"$headers" ||
  fail "no relocations, so the dynamic base cannot be used"
if i686-w64-mingw32-objdump -d --no-show-raw-insn "$release" | grep -E 'mov +%[a-z0-9]+,%fs:0x0$' >/dev/null; then
  fail "the image registers an exception handler (a store to %fs:0) but is marked NO_SEH"
fi

# Stack canaries and checked string and memory functions in what was linked:
# every object of every library (the parser of what the update server says
# among them) and of the program itself was compiled for canaries (the
# options each link-time object records), and the compiler did place them:
# the third-party libraries and our own code refer to the canary, and to the
# checked functions. Release objects carry machine code beside their
# link-time form for the latter (fat objects).
deps=$(sed -n 's/^KESTRIX_DEPS_DIR:[A-Z]*=//p' "$tree/CMakeCache.txt")
ours=()
mapfile -t ours < <(find "$tree" -name 'libkestrix_*.a' ! -name '*delay*' | sort)
program=("$tree"/app/CMakeFiles/KestrixOfficeInstaller.dir/*.obj)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
for library in "$deps"/lib/libjsoncpp.a "$deps"/lib/libcryptopp.a "${ours[@]}"; do
  folder=$unpacked/$(basename "$library")
  mkdir -p "$folder"
  (cd "$folder" && i686-w64-mingw32-ar x "$library")
done
for object in "$unpacked"/*/* "${program[@]}"; do
  i686-w64-mingw32-objcopy -O binary --only-section=.gnu.lto_.opts "$object" "$unpacked/options" 2>/dev/null ||
    fail "$object is no link-time object; its compile options cannot be read"
  grep -q -- -fstack-protector-strong "$unpacked/options" ||
    fail "$object was compiled without -fstack-protector-strong"
done
# An undefined symbol of the objects' machine code (nm would list the
# link-time form's symbols instead, which come before any canary is placed).
# grep reads to the end: with pipefail, -q would fail the pipe it leaves early.
refers() { i686-w64-mingw32-objdump -t "$@" 2>/dev/null | grep -E "\(sec +0\).* _*$symbol\$" >/dev/null; }
symbol=__stack_chk_guard
for library in "$deps"/lib/libjsoncpp.a "$deps"/lib/libcryptopp.a; do
  refers "$library" || fail "$library has no stack canary"
done
refers "${ours[@]}" "${program[@]}" || fail "our code has no stack canary"
objects=$(ls "$unpacked"/*/* | wc -l)
# Checked string and memory functions: every compile of the program defines
# _FORTIFY_SOURCE (the libraries' script sets it beside the canary's flag).
# The compiler keeps a checked call only where it cannot prove the bounds;
# how many it kept is reported.
unfortified=$(ninja -C "$tree" -t commands KestrixOfficeInstaller | grep -- ' -c ' |
  grep -v -- '-D_FORTIFY_SOURCE=2' || true)
[ -z "$unfortified" ] || fail "compiled without _FORTIFY_SOURCE=2: $(head -c 300 <<<"$unfortified")"
checked=$(i686-w64-mingw32-objdump -t "$deps"/lib/*.a "${ours[@]}" "${program[@]}" 2>/dev/null |
  grep -cE '\(sec +0\).* _*__[a-z]+_chk$' || true)

# It is the first thing a user downloads: at most 1 MiB, artwork and all
# (about 0.6 MB today; make size says where the bytes go).
max_bytes=1048576
bytes=$(stat -c %s "$release")
[ "$bytes" -le $max_bytes ] || fail "$bytes bytes, more than $max_bytes (make size says where they go)"

# The seam's name is in the test build and nowhere in the release build.
contains() { grep -qa "$2" "$1" || grep -qaP "$(sed 's/./&\\x00/g' <<<"$2")" "$1"; }
contains "$test_build" KESTRIX_TEST_OFFLINE || fail "the test build lost its seam; this check proves nothing"
if contains "$release" KESTRIX_TEST_; then fail "the release build contains a test seam"; fi
echo "release executable: $kind, $bytes bytes; imports by name only$(tr 'A-Z\n' 'a-z ' <<<" $dlls")," \
  "$(wc -l <<<"$imports") functions, each reviewed; none newer than Windows XP;" \
  "DllCharacteristics $characteristics (dynamic base, NX, no SEH), relocations;" \
  "stack canaries in all $((objects + ${#program[@]})) objects of $((${#ours[@]} + 2)) libraries and the program;" \
  "_FORTIFY_SOURCE=2 in every compile ($checked checked calls kept); no test seams"
